#pragma once

#include <QPixmap>
#include <QWidget>

/// Lumivane's brand mark: our own vector artwork, rendered at the device
/// pixel ratio of the screen it shows on so it stays crisp at any scale. The
/// artwork is square; the widget keeps that shape at its given height.
class LumivaneMark final : public QWidget
{
public:
    LumivaneMark(double height, double opacity, QWidget *parent = nullptr);

    /// The mark `side` logical pixels square, for a device pixel ratio.
    static QPixmap pixmap(double side, qreal devicePixelRatio);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_height;
    double m_opacity;
    QPixmap m_rendered;
};
