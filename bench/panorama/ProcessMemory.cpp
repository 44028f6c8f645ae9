#include "ProcessMemory.h"

#include <QFile>

namespace {

// The value in kB of the line starting with `field` in a /proc file.
double fieldMiB(const char *path, const QByteArray &field)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

} // namespace

namespace ProcessMemory {

double peakResidentMiB()
{
    return fieldMiB("/proc/self/status", "VmHWM:");
}

double residentMiB()
{
    return fieldMiB("/proc/self/status", "VmRSS:");
}

void resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double proportionalMiB()
{
    return fieldMiB("/proc/self/smaps_rollup", "Pss:");
}

} // namespace ProcessMemory
