#include "PackageReader.h"

#include <QFile>

#include <zip.h>

PackageReader PackageReader::read(const QString &path)
{
    PackageReader reader;
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        reader.error = QStringLiteral("zip_open failed with %1").arg(error);
        return reader;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count && reader.error.isEmpty(); ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0) {
            reader.error = QStringLiteral("zip_stat_index failed");
            break;
        }
        Member member;
        member.compressionMethod = stat.comp_method;
        member.bytes.resize(qsizetype(stat.size));
        zip_file_t *file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        // A CRC mismatch shows only as -1 from the read that reaches the end.
        const zip_int64_t got = file ? zip_fread(file, member.bytes.data(), stat.size) : -1;
        if (file)
            zip_fclose(file);
        if (got != zip_int64_t(stat.size))
            reader.error = QStringLiteral("cannot read ") + QString::fromUtf8(stat.name);
        const QString name = QString::fromUtf8(stat.name);
        reader.names.append(name);
        reader.members.insert(name, member);
    }
    zip_close(archive);
    return reader;
}
