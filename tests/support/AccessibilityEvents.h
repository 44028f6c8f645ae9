#pragma once

#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QString>

// What the process sends to assistive technology, recorded. Qt sends
// accessibility events only while a platform bridge is active: on the xcb
// platform that takes a session bus with an accessibility bus on it, which
// the first AccessibilityEvents of the process starts privately (dbus-daemon
// and at-spi-bus-launcher) before anything asks QAccessible, and which lives
// until the process ends. Events are recorded instead of being passed on.
class AccessibilityEvents
{
public:
    struct Record
    {
        QAccessible::Event type;
        QPointer<QObject> object;
        QString text; // inserted or removed text of text-change events
        QString name; // of what the event is about, when it was sent
    };

    /// Waits up to ten seconds for the bridge; see isActive().
    AccessibilityEvents();
    ~AccessibilityEvents();
    AccessibilityEvents(const AccessibilityEvents &) = delete;
    AccessibilityEvents &operator=(const AccessibilityEvents &) = delete;

    /// Whether Qt sends events at all; false when the buses could not start.
    bool isActive() const;
    const QList<Record> &events() const { return m_events; }
    QList<Record> eventsOf(const QObject *object) const;
    void clear() { m_events.clear(); }

private:
    static void record(QAccessibleEvent *event);

    QAccessible::UpdateHandler m_previous = nullptr;
    QList<Record> m_events;
};
