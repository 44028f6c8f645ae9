#pragma once

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

/// The test programs on the virtual display share its one keyboard focus: a
/// window another program activates takes it from this one, which then stops
/// being the active window halfway through a test. A test that needs its
/// window active holds this lock for as long; on a platform where every
/// program has its own focus, it holds nothing.
class DisplayFocusLock final
{
public:
    DisplayFocusLock()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        const QString path = QDir::temp().filePath(QStringLiteral("lumivane-display-focus-%1")
                                                       .arg(QString::fromLocal8Bit(qgetenv("DISPLAY"))));
        m_descriptor = ::open(QFile::encodeName(path).constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
        if (m_descriptor >= 0)
            ::flock(m_descriptor, LOCK_EX);
    }
    ~DisplayFocusLock()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    DisplayFocusLock(const DisplayFocusLock &) = delete;
    DisplayFocusLock &operator=(const DisplayFocusLock &) = delete;

private:
    int m_descriptor = -1;
};
