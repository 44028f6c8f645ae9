#include "viewer/FadingSnapshot.h"

#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

FadingSnapshot::FadingSnapshot(QWidget &view, ViewerAnimation animation, QWidget *parent)
    : QWidget(parent)
    , m_picture(view.grab())
{
    setObjectName("fadingSnapshot");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(view.geometry());
    auto *fade = new QVariantAnimation(this);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    fade->setDuration(int(std::lround(animation.seconds * 1000)));
    fade->setEasingCurve(easingCurve(animation.curve));
    connect(fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_opacity = value.toDouble();
        update();
    });
    connect(fade, &QVariantAnimation::finished, this, &QObject::deleteLater);
    fade->start();
    show();
}

void FadingSnapshot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    painter.drawPixmap(rect(), m_picture);
}
