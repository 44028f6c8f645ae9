#include "ZipBuilder.h"

#include <QFile>

#include <zlib.h>

namespace {

class ByteWriter
{
public:
    void u16(quint32 value) { append(value, 2); }
    void u32(quint32 value) { append(value, 4); }
    void u64(quint64 value) { append(value, 8); }
    void bytes(const QByteArray &data) { m_data.append(data); }
    qsizetype size() const { return m_data.size(); }
    QByteArray data() const { return m_data; }

private:
    void append(quint64 value, int count)
    {
        for (int i = 0; i < count; ++i)
            m_data.append(char((value >> (8 * i)) & 0xff));
    }
    QByteArray m_data;
};

QByteArray rawDeflate(const QByteArray &data)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

quint32 dosTime(const QDateTime &when)
{
    const QTime t = when.time();
    return quint32((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
}

quint32 dosDate(const QDateTime &when)
{
    const QDate d = when.date();
    return quint32(((d.year() - 1980) << 9) | (d.month() << 5) | d.day());
}

struct Encoded
{
    QByteArray stored;
    quint32 crc;
    quint64 size;
    quint32 flags;
    quint32 method;
};

Encoded encode(const ZipBuilder::Member &member)
{
    Encoded encoded;
    encoded.stored = member.deflate ? rawDeflate(member.data) : member.data;
    encoded.crc = member.crc.value_or(quint32(crc32(0, reinterpret_cast<const Bytef *>(member.data.constData()),
                                                     uInt(member.data.size()))));
    encoded.size = member.size.value_or(quint64(member.data.size()));
    encoded.flags = member.utf8 ? 0x800 : 0;
    encoded.method = member.deflate ? 8 : 0;
    return encoded;
}

} // namespace

ZipBuilder::Member ZipBuilder::file(const QByteArray &name, const QByteArray &data, quint32 permissions)
{
    Member member;
    member.name = name;
    member.data = data;
    member.unixMode = 0100000 | permissions;
    return member;
}

ZipBuilder::Member ZipBuilder::directory(const QByteArray &name, quint32 permissions)
{
    Member member;
    member.name = name.endsWith('/') ? name : name + '/';
    member.unixMode = 0040000 | permissions;
    return member;
}

ZipBuilder::Member ZipBuilder::symlink(const QByteArray &name, const QByteArray &target)
{
    Member member;
    member.name = name;
    member.data = target;
    member.unixMode = 0120777;
    return member;
}

ZipBuilder &ZipBuilder::add(const Member &member)
{
    m_members.append(member);
    return *this;
}

ZipBuilder &ZipBuilder::addFile(const QByteArray &name, const QByteArray &data, bool deflate)
{
    Member member = file(name, data);
    member.deflate = deflate;
    return add(member);
}

ZipBuilder &ZipBuilder::addClaiming(qint64 bytes)
{
    Member member = file("big", "x");
    member.deflate = true;
    member.size = quint64(bytes);
    m_zip64 = true;
    return add(member);
}

ZipBuilder &ZipBuilder::setZip64(bool zip64)
{
    m_zip64 = zip64;
    return *this;
}

QByteArray ZipBuilder::build() const
{
    ByteWriter out;
    ByteWriter directory;
    const quint32 needed = m_zip64 ? 45 : 20;
    for (const Member &member : m_members) {
        const Encoded encoded = encode(member);
        const quint64 offset = quint64(out.size());
        ByteWriter localExtra;
        ByteWriter centralExtra;
        if (m_zip64) {
            localExtra.u16(0x0001);
            localExtra.u16(16);
            localExtra.u64(encoded.size);
            localExtra.u64(quint64(encoded.stored.size()));
            centralExtra.u16(0x0001);
            centralExtra.u16(24);
            centralExtra.u64(encoded.size);
            centralExtra.u64(quint64(encoded.stored.size()));
            centralExtra.u64(offset);
        }
        const quint32 size32 = m_zip64 ? 0xffffffffu : quint32(encoded.size);
        const quint32 stored32 = m_zip64 ? 0xffffffffu : quint32(encoded.stored.size());

        // From "version needed" to the name's length, both headers agree.
        const auto sharedFields = [&](ByteWriter &header) {
            header.u16(needed);
            header.u16(encoded.flags);
            header.u16(encoded.method);
            header.u16(dosTime(member.modified));
            header.u16(dosDate(member.modified));
            header.u32(encoded.crc);
            header.u32(stored32);
            header.u32(size32);
            header.u16(quint32(member.name.size()));
        };

        out.u32(0x04034b50);
        sharedFields(out);
        out.u16(quint32(localExtra.size()));
        out.bytes(member.name);
        out.bytes(localExtra.data());
        out.bytes(encoded.stored);

        directory.u32(0x02014b50);
        directory.u16(member.unixMode != 0 ? (3u << 8) | needed : needed);
        sharedFields(directory);
        directory.u16(quint32(centralExtra.size()));
        directory.u16(0);
        directory.u16(0);
        directory.u16(0);
        const quint32 dosDirectoryBit = member.name.endsWith('/') ? 0x10 : 0;
        directory.u32((member.unixMode << 16) | dosDirectoryBit);
        directory.u32(m_zip64 ? 0xffffffffu : quint32(offset));
        directory.bytes(member.name);
        directory.bytes(centralExtra.data());
    }

    const quint64 directoryOffset = quint64(out.size());
    const quint64 directorySize = quint64(directory.size());
    const quint64 count = quint64(m_members.size());
    out.bytes(directory.data());
    if (m_zip64) {
        const quint64 recordOffset = quint64(out.size());
        out.u32(0x06064b50);
        out.u64(44);
        out.u16(45);
        out.u16(45);
        out.u32(0);
        out.u32(0);
        out.u64(count);
        out.u64(count);
        out.u64(directorySize);
        out.u64(directoryOffset);
        out.u32(0x07064b50);
        out.u32(0);
        out.u64(recordOffset);
        out.u32(1);
    }
    out.u32(0x06054b50);
    out.u16(0);
    out.u16(0);
    out.u16(m_zip64 ? 0xffff : quint32(count));
    out.u16(m_zip64 ? 0xffff : quint32(count));
    out.u32(m_zip64 ? 0xffffffffu : quint32(directorySize));
    out.u32(m_zip64 ? 0xffffffffu : quint32(directoryOffset));
    out.u16(0);
    return out.data();
}

bool ZipBuilder::writeTo(const QString &path) const
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(build()) >= 0 && file.flush();
}
