#include "AccessibilityEvents.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

AccessibilityEvents *recording = nullptr;

/// The private buses: a session bus and an accessibility bus, in a process
/// group of their own that a watcher ends once this process is gone,
/// however it ends. Started once per process.
class PrivateBuses
{
public:
    PrivateBuses()
    {
        if (!m_folder.isValid() || QStandardPaths::findExecutable(QStringLiteral("setsid")).isEmpty())
            return;
        const QString address = m_folder.filePath(QStringLiteral("address"));
        // The launcher keeps its bus's socket in its runtime folder, one per
        // process; without a display it leaves the display's root window
        // alone, where Qt would otherwise find another process's bus. The
        // address is handed over once the bus is there to be found.
        const QString script = QStringLiteral(
            "export XDG_RUNTIME_DIR=\"$3\"\n"
            "dbus-daemon --session --nofork --print-address=3 3>\"$2.tmp\" &\n"
            "while [ ! -s \"$2.tmp\" ]; do sleep 0.05; done\n"
            "export DBUS_SESSION_BUS_ADDRESS=\"$(cat \"$2.tmp\")\"\n"
            "env -u DISPLAY /usr/libexec/at-spi-bus-launcher --launch-immediately &\n"
            "until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "
            "org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q true; do sleep 0.05; done\n"
            "mv \"$2.tmp\" \"$2\"\n"
            "while kill -0 \"$1\" 2>/dev/null; do sleep 0.5; done\n"
            "kill -- -$$\n");
        const QStringList arguments{QStringLiteral("sh"), QStringLiteral("-c"), script, QStringLiteral("buses"),
                                    QString::number(QCoreApplication::applicationPid()), address, m_folder.path()};
        if (!QProcess::startDetached(QStringLiteral("setsid"), arguments))
            return;
        QFile file(address);
        if (!QTest::qWaitFor([&file] { return file.exists(); }, 5000) || !file.open(QIODevice::ReadOnly))
            return;
        qputenv("DBUS_SESSION_BUS_ADDRESS", file.readAll().trimmed());
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    }

private:
    QTemporaryDir m_folder;
};

} // namespace

AccessibilityEvents::AccessibilityEvents()
{
    static PrivateBuses buses;
    // The first question makes the bridge, which then connects on its own;
    // isActive() tells the test whether it did.
    const bool active = QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000);
    Q_UNUSED(active);
    m_previous = QAccessible::installUpdateHandler(&AccessibilityEvents::record);
    recording = this;
}

AccessibilityEvents::~AccessibilityEvents()
{
    recording = nullptr;
    QAccessible::installUpdateHandler(m_previous);
}

bool AccessibilityEvents::isActive() const
{
    return QAccessible::isActive();
}

QList<AccessibilityEvents::Record> AccessibilityEvents::eventsOf(const QObject *object) const
{
    QList<Record> found;
    for (const Record &event : m_events) {
        if (event.object == object)
            found.append(event);
    }
    return found;
}

void AccessibilityEvents::record(QAccessibleEvent *event)
{
    if (!recording)
        return;
    Record entry{event->type(), event->object(), QString(), QString()};
    if (QAccessibleInterface *about = event->accessibleInterface())
        entry.name = about->text(QAccessible::Name);
    if (event->type() == QAccessible::TextInserted)
        entry.text = static_cast<QAccessibleTextInsertEvent *>(event)->textInserted();
    else if (event->type() == QAccessible::TextRemoved)
        entry.text = static_cast<QAccessibleTextRemoveEvent *>(event)->textRemoved();
    else if (event->type() == QAccessible::TextUpdated) {
        const auto *update = static_cast<QAccessibleTextUpdateEvent *>(event);
        entry.text = update->textRemoved() + update->textInserted();
    }
    recording->m_events.append(entry);
}
