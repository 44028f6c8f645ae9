#pragma once

#include "CapsuleLook.h"

#include <QAbstractButton>
#include <QString>

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
    explicit CapsuleButton(CapsuleLook look, const QString &text = QString(), QWidget *parent = nullptr);

    const CapsuleLook &look() const { return m_look; }
    void setLook(CapsuleLook look);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF contentSize() const;
    void paintContent(QPainter &painter, const QRectF &capsule) const;
    void paintFocus(QPainter &painter, const QRectF &capsule) const;

    CapsuleLook m_look;
};
