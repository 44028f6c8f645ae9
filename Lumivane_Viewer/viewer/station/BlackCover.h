#pragma once

#include "model/AnimationCurve.h"

#include <QWidget>

#include <functional>

class QVariantAnimation;

/// Black at an opacity that moves to each new value with the animation it
/// is given: the station view's background, and the cover that hides a
/// change of station. Paints nothing, and is hidden, while fully clear.
class BlackCover final : public QWidget
{
public:
    explicit BlackCover(double opacity, QWidget *parent = nullptr);

    /// Moves to the opacity under the animation, from the value the last
    /// change was moving to; a value it already moves to changes nothing.
    void setOpacity(double opacity, ViewerAnimation animation);
    /// The opacity shown now.
    double opacity() const { return m_shown; }
    double targetOpacity() const { return m_target; }
    /// Hands the black to `draw`, called with every opacity shown from now
    /// on (the current one at once); the widget itself then stays hidden.
    /// Over a GL view this spares composing a translucent widget on every
    /// frame of a fade.
    void drawWith(std::function<void(double)> draw);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void show(double opacity);

    double m_shown = 0;
    double m_target = 0;
    std::function<void(double)> m_draw;
    QVariantAnimation *m_animation;
};
