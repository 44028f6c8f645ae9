#pragma once

#include "media/symbols/SoftShadow.h"

#include <QColor>
#include <QWidget>

#include <functional>

/// How a modal card and the backdrop behind it look.
struct ModalCardLook
{
    QColor backdrop;       // over the whole layer
    QColor cardBackground;
    int cardWidth = 460;
    double cornerRadius = 14;
    DropShadow shadow;
};

/// A layer that fills its parent: a dimmed backdrop, a click on which asks
/// to close, and a card of fixed width centred on it whose height follows
/// its content. Subclasses fill card(). The backdrop, the card's shadow and
/// its rounded background are painted here in one pass, so the layer stays
/// cheap to compose over a panorama.
class ModalCardOverlay : public QWidget
{
public:
    explicit ModalCardOverlay(ModalCardLook look, QWidget *parent = nullptr);

    /// Asks the owner to take the layer away.
    std::function<void()> onClose;

protected:
    QWidget *card() const { return m_card; }
    void requestClose();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ModalCardLook m_look;
    QWidget *m_card;
    bool m_backdropPressed = false;
};
