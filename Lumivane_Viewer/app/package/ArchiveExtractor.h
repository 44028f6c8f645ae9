#pragma once

#include <QString>
#include <QtGlobal>

/// Extracts a ZIP archive into an existing, empty folder without ever writing
/// outside it. Knows nothing of tours: any archive, any member names.
class ArchiveExtractor final
{
public:
    /// Bounds that keep a hostile archive from filling the disk.
    struct Limits
    {
        qint64 maxTotalBytes = qint64(16) << 30;
        qint64 freeSpaceMargin = qint64(256) << 20; // left free on the target disk
        qint64 maxMembers = 100000;
        int maxNameBytes = 1024; // keeps every extracted path short enough to remove again
    };

    /// On failure, the folder may hold part of the archive; the caller removes it.
    struct Result
    {
        bool succeeded = false;
        QString failure; // English description of the first failure
    };

    ArchiveExtractor();
    explicit ArchiveExtractor(Limits limits);

    Result extract(const QString &archivePath, const QString &folder) const;

private:
    Limits m_limits;
};
