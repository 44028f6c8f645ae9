#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

/// Extracts a ZIP archive into an existing, empty folder without ever writing
/// outside it. Knows nothing of tours: any archive, any member names.
class ArchiveExtractor final
{
public:
    /// Bounds that keep a hostile archive from filling the disk.
    struct Limits
    {
        qint64 maxTotalBytes = qint64(16) << 30;
        qint64 maxMembers = 100000;
        int maxNameBytes = 1024; // keeps every extracted path short enough to remove again
    };

    /// What the archive's members take on the folder's disk, against the
    /// room there, when the room is too small.
    struct SpaceShortfall
    {
        qint64 neededBytes = 0;
        qint64 availableBytes = 0;
        bool operator==(const SpaceShortfall &) const = default;
    };

    /// On failure, the folder may hold part of the archive; the caller removes it.
    struct Result
    {
        bool succeeded = false;
        QString failure; // English description of the first failure
        std::optional<SpaceShortfall> shortfall; // set when the disk lacks room, before anything is written
    };

    ArchiveExtractor();
    explicit ArchiveExtractor(Limits limits);

    Result extract(const QString &archivePath, const QString &folder) const;

private:
    Limits m_limits;
};
