#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

/// Writes ZIP archives byte by byte, including shapes no well-behaved tool
/// writes: lying sizes and checksums, hostile names, ZIP64 records.
class ZipBuilder final
{
public:
    struct Member
    {
        QByteArray name;
        QByteArray data;                // the contents; a link's target for links
        quint32 unixMode = 0100644;     // 0 writes an MS-DOS member without Unix attributes
        bool deflate = false;
        bool utf8 = true;               // general-purpose bit 11
        std::optional<quint32> crc;     // declared checksum, when it should lie
        std::optional<quint64> size;    // declared uncompressed size, when it should lie
        QDateTime modified = QDateTime(QDate(2024, 5, 17), QTime(10, 30, 12));
    };

    static Member file(const QByteArray &name, const QByteArray &data, quint32 permissions = 0644);
    static Member directory(const QByteArray &name, quint32 permissions = 0755);
    static Member symlink(const QByteArray &name, const QByteArray &target);

    ZipBuilder &add(const Member &member);
    ZipBuilder &addFile(const QByteArray &name, const QByteArray &data, bool deflate = false);
    /// Adds a member "big" holding one byte that declares `bytes`, and
    /// turns ZIP64 records on: a package of any size, in a few bytes.
    ZipBuilder &addClaiming(qint64 bytes);
    /// Writes ZIP64 records for every member and for the directory.
    ZipBuilder &setZip64(bool zip64);

    QByteArray build() const;
    bool writeTo(const QString &path) const;

private:
    QList<Member> m_members;
    bool m_zip64 = false;
};
