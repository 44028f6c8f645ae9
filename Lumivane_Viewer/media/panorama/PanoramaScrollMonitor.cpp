#include "PanoramaScrollMonitor.h"

#include <QApplication>
#include <QWheelEvent>

PanoramaScrollMonitor::PanoramaScrollMonitor(QWidget *watched, std::function<void(double)> onScroll)
    : m_watched(watched)
    , m_onScroll(std::move(onScroll))
{
    qApp->installEventFilter(this);
}

PanoramaScrollMonitor::~PanoramaScrollMonitor()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool PanoramaScrollMonitor::isPropagationOfLast(QWidget *receiver, const QWheelEvent &event) const
{
    // An event that a child leaves unaccepted is offered to its parents; the
    // application filter sees each offer.
    return m_lastReceiver && event.timestamp() == m_lastTimestamp && event.angleDelta() == m_lastAngleDelta
        && event.globalPosition() == m_lastGlobalPosition && receiver->isAncestorOf(m_lastReceiver);
}

bool PanoramaScrollMonitor::eventFilter(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::Wheel || !receiver->isWidgetType() || !m_watched)
        return false;
    auto *widget = static_cast<QWidget *>(receiver);
    const auto &wheel = static_cast<const QWheelEvent &>(*event);
    if (isPropagationOfLast(widget, wheel))
        return false;
    m_lastReceiver = widget;
    m_lastTimestamp = wheel.timestamp();
    m_lastAngleDelta = wheel.angleDelta();
    m_lastGlobalPosition = wheel.globalPosition();
    if (widget->window() == m_watched->window())
        m_onScroll(wheel.angleDelta().y() / 120.0);
    return false;
}
