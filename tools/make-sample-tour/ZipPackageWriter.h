#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

struct zip;

/// Writes a ZIP archive with libzip, member by member, each stored or deflated.
/// Members given as files are read only when the archive is closed, one at a
/// time, so large archives are written in bounded memory as long as the files
/// stay on disk until close(). Member names are written as UTF-8.
class ZipPackageWriter
{
public:
    enum class Compression { Stored, Deflated };

    ZipPackageWriter() = default;
    ~ZipPackageWriter();
    ZipPackageWriter(const ZipPackageWriter &) = delete;
    ZipPackageWriter &operator=(const ZipPackageWriter &) = delete;

    /// Creates (or replaces) the archive at path.
    bool open(const QString &path);
    /// Modification time written for every member added afterwards.
    void setModificationTime(const QDateTime &time) { m_modificationTime = time; }

    bool addDirectory(const QString &name);
    bool addBytes(const QString &name, const QByteArray &bytes, Compression compression);
    bool addFile(const QString &name, const QString &filePath, Compression compression);
    /// Writes the archive; false (with errorString()) when anything failed,
    /// also when no member was added (libzip would then write no file at all).
    bool close();

    QString errorString() const { return m_error; }

private:
    bool finishMember(qint64 index, Compression compression);
    bool fail(const QString &what);

    zip *m_archive = nullptr;
    QList<QByteArray> m_heldBytes; // libzip reads buffers only at close
    int m_memberCount = 0;
    QDateTime m_modificationTime = QDateTime::currentDateTimeUtc();
    QString m_error;
};
