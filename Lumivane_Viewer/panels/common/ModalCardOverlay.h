#pragma once

#include "CardThanksView.h"
#include "widgets/SoftShadow.h"

#include <QColor>
#include <QWidget>

#include <functional>

class QPainter;
class QVBoxLayout;

/// How a modal card and the backdrop behind it look.
struct ModalCardLook
{
    QColor backdrop;       // over the whole layer
    QColor cardBackground;
    int cardWidth = 460;
    double cornerRadius = 14;
    DropShadow shadow;
};

/// Paints the backdrop over `area` and, when not empty, the card at `card`
/// with its shadow and rounded background: every modal card looks this way.
void paintModalCard(QPainter &painter, const QRect &area, const QRectF &card, const ModalCardLook &look);

/// A layer that fills its parent: a dimmed backdrop, a click on which asks
/// to close, and a card of fixed width centred on it whose height follows
/// its content. Subclasses fill card() and name the layer after the card's
/// title: assistive technology sees a modal dialog. The backdrop, the card's
/// shadow and its rounded background are painted here in one pass, so the
/// layer stays cheap to compose over a panorama.
class ModalCardOverlay : public QWidget
{
public:
    explicit ModalCardOverlay(ModalCardLook look, QWidget *parent = nullptr);

    /// Asks the owner to take the layer away.
    std::function<void()> onClose;

protected:
    QWidget *card() const { return m_card; }
    /// The card's rows, top to bottom, without margins or spacing.
    QVBoxLayout *cardStack() const { return m_cardStack; }
    /// Adds a hidden thanks view under the rows, whose close button asks to close.
    CardThanksView *addThanksView(const CardThanksLook &look);
    void requestClose();

    void paintEvent(QPaintEvent *event) override;

private:
    ModalCardLook m_look;
    QWidget *m_card;
    QVBoxLayout *m_cardStack;
};
