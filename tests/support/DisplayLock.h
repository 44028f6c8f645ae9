#pragma once

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

/// A lock on one thing that the test programs on the virtual display share
/// (its keyboard focus, its clipboard), held from construction to
/// destruction and taken by one program at a time. On a platform where every
/// program has its own, it holds nothing.
class DisplayLock final
{
public:
    explicit DisplayLock(const QString &shared)
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        const QString path = QDir::temp().filePath(QStringLiteral("lumivane-display-%1-%2")
                                                       .arg(shared, QString::fromLocal8Bit(qgetenv("DISPLAY"))));
        m_descriptor = ::open(QFile::encodeName(path).constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
        if (m_descriptor >= 0)
            ::flock(m_descriptor, LOCK_EX);
    }
    ~DisplayLock()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    DisplayLock(const DisplayLock &) = delete;
    DisplayLock &operator=(const DisplayLock &) = delete;

private:
    int m_descriptor = -1;
};
