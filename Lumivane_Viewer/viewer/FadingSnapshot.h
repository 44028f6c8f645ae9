#pragma once

#include "model/AnimationCurve.h"

#include <QPixmap>
#include <QWidget>

class QVariantAnimation;

/// A picture of a view that has just gone, fading out over what replaced
/// it, then deleting itself: how the viewer exchanges its faces under the
/// animation of the change. A painted picture, not the view itself, so the
/// fade costs the same whatever the view held (panoramas included).
class FadingSnapshot final : public QWidget
{
public:
    /// Takes a picture of `view` now and lays it over `parent`'s whole area.
    FadingSnapshot(QWidget &view, ViewerAnimation animation, QWidget *parent);

    double opacity() const { return m_opacity; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    double m_opacity = 1;
};
