#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

/// Reads every member of a ZIP archive with libzip, for checking what the
/// generator wrote.
struct PackageReader
{
    struct Member
    {
        QByteArray bytes;
        int compressionMethod = -1; ///< ZIP_CM_STORE or ZIP_CM_DEFLATE
    };

    /// Empty error when the archive opened and every member read back whole.
    static PackageReader read(const QString &path);

    QString error;
    QStringList names; ///< in archive order
    QMap<QString, Member> members;
};
