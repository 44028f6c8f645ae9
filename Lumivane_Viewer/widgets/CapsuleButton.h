#pragma once

#include "SoftShadow.h"
#include "model/SystemFont.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

/// A line drawn along the inside of a capsule's edge.
struct CapsuleOutline
{
    QColor color;
    double width = 1;
};

/// How a capsule button looks. Lengths in logical pixels.
struct CapsuleButtonLook
{
    QString symbol;                 // leading symbol; none when empty
    double symbolPoints = 12;       // font size the symbol is sized like
    QFont font = systemFont(13, QFont::DemiBold);
    QColor foreground = Qt::white;  // symbol and text
    double spacing = 6;             // between symbol and text
    double horizontalPadding = 12;
    double verticalPadding = 8;
    QColor background = Qt::transparent;
    std::optional<CapsuleOutline> outline;
    std::optional<DropShadow> shadow;
    double disabledOpacity = 1;     // the whole button's opacity when disabled
};

/// A button drawn as an optional leading symbol and a one-line text on a
/// capsule: info, kiosk stop, audio guide, cover and form buttons. The size
/// hint follows the content; a narrower button elides the text. A shadow
/// needs room outside the capsule: the widget's contents margins hold it
/// (contentsRect() is the capsule), so a layout aligning capsules subtracts
/// them. Plain style: dims while pressed and has the arrow cursor unless the
/// owner sets another. It takes the focus from the keyboard only and shows
/// it with a ring along the capsule, or, for a bare text without capsule or
/// padding, a line under the text (KeyboardFocus).
class CapsuleButton final : public QAbstractButton
{
public:
    explicit CapsuleButton(CapsuleButtonLook look, const QString &text = QString(), QWidget *parent = nullptr);

    const CapsuleButtonLook &look() const { return m_look; }
    void setLook(CapsuleButtonLook look);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF contentSize() const;
    void paintCapsule(QPainter &painter, const QRectF &capsule) const;
    void paintContent(QPainter &painter, const QRectF &capsule) const;
    void paintFocus(QPainter &painter, const QRectF &capsule) const;

    CapsuleButtonLook m_look;
};
