#pragma once

#include <QByteArray>
#include <QFile>

// How much resident memory the process held at its peak from the moment this
// object was made, beyond what it held then: the kernel's high-water mark
// (VmHWM), reset at construction.
class PeakResident
{
public:
    PeakResident()
        : m_before(kilobytes("VmRSS:"))
    {
        QFile refs(QStringLiteral("/proc/self/clear_refs"));
        if (refs.open(QIODevice::WriteOnly))
            refs.write("5");
    }

    qint64 growthMiB() const { return (kilobytes("VmHWM:") - m_before) / 1024; }

private:
    static qint64 kilobytes(const char *field)
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith(field))
                return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
        }
        return -1;
    }

    const qint64 m_before;
};
