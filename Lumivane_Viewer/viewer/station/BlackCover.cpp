#include "viewer/station/BlackCover.h"

#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

BlackCover::BlackCover(double opacity, QWidget *parent)
    : QWidget(parent)
    , m_target(opacity)
    , m_animation(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_NoSystemBackground);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) { show(value.toDouble()); });
    show(opacity);
}

void BlackCover::setOpacity(double opacity, ViewerAnimation animation)
{
    if (opacity == m_target)
        return;
    // A change that comes while the last one still runs starts where that
    // one was going: the station's photo is swapped under full black.
    if (m_animation->state() == QAbstractAnimation::Running) {
        m_animation->stop();
        show(m_target);
    }
    m_target = opacity;
    if (animation.seconds <= 0) {
        show(opacity);
        return;
    }
    m_animation->setStartValue(m_shown);
    m_animation->setEndValue(opacity);
    m_animation->setDuration(int(std::lround(animation.seconds * 1000)));
    m_animation->setEasingCurve(easingCurve(animation.curve));
    m_animation->start();
    setVisible(!m_draw);
}

void BlackCover::drawWith(std::function<void(double)> draw)
{
    m_draw = std::move(draw);
    show(m_shown);
}

void BlackCover::show(double opacity)
{
    m_shown = opacity;
    if (m_draw) {
        setVisible(false);
        m_draw(opacity);
        return;
    }
    // Clear, it would still be composed over the panorama on every frame.
    setVisible(opacity > 0);
    update();
}

void BlackCover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, float(std::clamp(m_shown, 0.0, 1.0))));
}
