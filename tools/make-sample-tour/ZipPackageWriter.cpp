#include "ZipPackageWriter.h"

#include <QFile>

#include <zip.h>

ZipPackageWriter::~ZipPackageWriter()
{
    if (m_archive)
        zip_discard(m_archive);
}

bool ZipPackageWriter::fail(const QString &what)
{
    const char *detail = m_archive ? zip_strerror(m_archive) : "";
    m_error = what + QStringLiteral(": ") + QString::fromUtf8(detail);
    return false;
}

bool ZipPackageWriter::open(const QString &path)
{
    if (m_archive)
        zip_discard(m_archive);
    m_heldBytes.clear();
    m_memberCount = 0;
    int error = 0;
    m_archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!m_archive) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, error);
        m_error = QStringLiteral("cannot create %1: %2").arg(path, QString::fromUtf8(zip_error_strerror(&zipError)));
        zip_error_fini(&zipError);
        return false;
    }
    return true;
}

bool ZipPackageWriter::addDirectory(const QString &name)
{
    if (!m_archive)
        return fail(QStringLiteral("archive not open"));
    const zip_int64_t index = zip_dir_add(m_archive, name.toUtf8().constData(), ZIP_FL_ENC_UTF_8);
    if (index < 0)
        return fail(QStringLiteral("cannot add folder ") + name);
    ++m_memberCount;
    zip_file_set_mtime(m_archive, zip_uint64_t(index), time_t(m_modificationTime.toSecsSinceEpoch()), 0);
    return true;
}

bool ZipPackageWriter::addBytes(const QString &name, const QByteArray &bytes, Compression compression)
{
    if (!m_archive)
        return fail(QStringLiteral("archive not open"));
    m_heldBytes.append(bytes);
    const QByteArray &held = m_heldBytes.constLast();
    zip_source_t *source = zip_source_buffer(m_archive, held.constData(), zip_uint64_t(held.size()), 0);
    if (!source)
        return fail(QStringLiteral("cannot read bytes for ") + name);
    const zip_int64_t index = zip_file_add(m_archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return fail(QStringLiteral("cannot add ") + name);
    }
    return finishMember(index, compression);
}

bool ZipPackageWriter::addFile(const QString &name, const QString &filePath, Compression compression)
{
    if (!m_archive)
        return fail(QStringLiteral("archive not open"));
    // Length 0: the whole file, read when the archive is written.
    zip_source_t *source = zip_source_file(m_archive, QFile::encodeName(filePath).constData(), 0, 0);
    if (!source)
        return fail(QStringLiteral("cannot read ") + filePath);
    const zip_int64_t index = zip_file_add(m_archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return fail(QStringLiteral("cannot add ") + name);
    }
    return finishMember(index, compression);
}

bool ZipPackageWriter::finishMember(qint64 index, Compression compression)
{
    ++m_memberCount;
    const zip_int32_t method = compression == Compression::Stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
    if (zip_set_file_compression(m_archive, zip_uint64_t(index), method, 0) < 0)
        return fail(QStringLiteral("cannot set compression"));
    if (zip_file_set_mtime(m_archive, zip_uint64_t(index), time_t(m_modificationTime.toSecsSinceEpoch()), 0) < 0)
        return fail(QStringLiteral("cannot set modification time"));
    return true;
}

bool ZipPackageWriter::close()
{
    if (!m_archive)
        return fail(QStringLiteral("archive not open"));
    if (m_memberCount == 0) {
        zip_discard(m_archive);
        m_archive = nullptr;
        m_error = QStringLiteral("an archive without members is not written");
        return false;
    }
    if (zip_close(m_archive) < 0) {
        fail(QStringLiteral("cannot write archive"));
        zip_discard(m_archive);
        m_archive = nullptr;
        return false;
    }
    m_archive = nullptr;
    m_heldBytes.clear();
    return true;
}
