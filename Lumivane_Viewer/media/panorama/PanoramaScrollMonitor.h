#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>

#include <functional>

class QWheelEvent;

/// Watches every scroll-wheel event of the application and reports those
/// that happen over the watched widget's window, including over widgets laid
/// on top of it. Never consumes an event: it still reaches the widget under
/// the pointer. One physical event is reported once, however far it
/// propagates up the widget tree.
class PanoramaScrollMonitor final : public QObject
{
public:
    PanoramaScrollMonitor(QWidget *watched, std::function<void(double deltaY)> onScroll);
    ~PanoramaScrollMonitor() override;

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;

private:
    bool isPropagationOfLast(QWidget *receiver, const QWheelEvent &event) const;

    QPointer<QWidget> m_watched;
    std::function<void(double)> m_onScroll;
    QPointer<QWidget> m_lastReceiver;
    quint64 m_lastTimestamp = 0;
    QPoint m_lastAngleDelta;
    QPointF m_lastGlobalPosition;
};
