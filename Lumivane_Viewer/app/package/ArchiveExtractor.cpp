#include "ArchiveExtractor.h"

#include "FileDescriptor.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <zip.h>
#include <zlib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr size_t copyBufferBytes = size_t(1) << 20;
constexpr zip_uint64_t maxLinkTargetBytes = 4096;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString zipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

struct MemberPath
{
    QList<QByteArray> directories; // folders leading to the member, each a plain name
    QByteArray leaf;               // empty when the name denotes the folder itself
};

std::optional<MemberPath> parseMemberPath(const QByteArray &name, QString *why)
{
    if (name.isEmpty())
        *why = QStringLiteral("empty member name");
    else if (name.contains('\\'))
        *why = QStringLiteral("backslash in member name");
    else if (name.startsWith('/'))
        *why = QStringLiteral("absolute member name");
    else if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':')
        *why = QStringLiteral("drive letter in member name");
    if (!why->isEmpty())
        return std::nullopt;

    MemberPath path;
    for (const QByteArray &part : name.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            *why = QStringLiteral("member name leads out of the folder");
            return std::nullopt;
        }
        path.directories.append(part);
    }
    if (!path.directories.isEmpty())
        path.leaf = path.directories.takeLast();
    return path;
}

// A link may climb only through real folders of the extraction (its leading
// ".." components, no deeper than the link itself lies), then descend. Every
// link it then passes through obeys the same rule, so no chain of links can
// lead out of the folder, whatever order they are created in.
bool linkTargetStaysInside(const QByteArray &target, qsizetype linkDepth)
{
    if (target.isEmpty() || target.startsWith('/') || target.contains('\0'))
        return false;
    bool descending = false;
    qsizetype climbed = 0;
    for (const QByteArray &part : target.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part != "..") {
            descending = true;
            continue;
        }
        if (descending || ++climbed > linkDepth)
            return false;
    }
    return true;
}

enum class MemberKind { file, directory, symlink };

struct MemberMode
{
    MemberKind kind = MemberKind::file;
    mode_t permissions = 0644;
};

// Permissions are restored without set-uid, set-gid and sticky bits, and the
// owner keeps what extraction and clean-up need: read and write on files,
// full access to folders.
MemberMode memberMode(zip_t *archive, zip_uint64_t index, const QByteArray &name)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    zip_file_get_external_attributes(archive, index, 0, &system, &attributes);
    const mode_t unixMode = system == ZIP_OPSYS_UNIX ? mode_t(attributes >> 16) : 0;

    MemberMode mode;
    if (name.endsWith('/') || S_ISDIR(unixMode))
        mode.kind = MemberKind::directory;
    else if (S_ISLNK(unixMode))
        mode.kind = MemberKind::symlink;
    const bool isDirectory = mode.kind == MemberKind::directory;
    const mode_t stored = unixMode & 0777;
    mode.permissions = stored != 0 ? stored : (isDirectory ? 0755 : 0644);
    mode.permissions |= isDirectory ? 0700 : 0600;
    return mode;
}

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

struct ZipFileCloser
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
using ZipFile = std::unique_ptr<zip_file_t, ZipFileCloser>;

struct ZipArchiveDiscarder
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipArchiveDiscarder>;

quint64 saturatingAdd(quint64 a, quint64 b)
{
    return b > ~quint64(0) - a ? ~quint64(0) : a + b;
}

// Whole blocks of the disk for the contents, and one more for the member's
// entry and folder.
quint64 diskBytesOfMember(quint64 size, quint64 blockSize)
{
    const quint64 blocks = size / blockSize + (size % blockSize != 0) + 1;
    return blocks > ~quint64(0) / blockSize ? ~quint64(0) : blocks * blockSize;
}

struct ArchiveSize
{
    quint64 declaredBytes = 0; // the members' sizes as the directory states them
    quint64 diskBytes = 0;     // what they take on a disk of the given block size
};

// From the central directory alone, before anything is written. A member
// never delivers more than it declares (the run refuses it), so this bounds
// what the extraction writes; a member that cannot be read here fails the run.
ArchiveSize archiveSize(zip_t *archive, zip_uint64_t memberCount, quint64 blockSize)
{
    ArchiveSize size;
    for (zip_uint64_t index = 0; index < memberCount; ++index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
            continue;
        size.declaredBytes = saturatingAdd(size.declaredBytes, stat.size);
        size.diskBytes = saturatingAdd(size.diskBytes, diskBytesOfMember(stat.size, blockSize));
    }
    return size;
}

qint64 clampedBytes(quint64 bytes)
{
    return qint64(std::min<quint64>(bytes, quint64(std::numeric_limits<qint64>::max())));
}

QString overBudgetText(qint64 budget)
{
    return QStringLiteral("archive expands beyond the %1 bytes allowed for extraction").arg(budget);
}

ArchiveExtractor::Result failed(const QString &why)
{
    return {false, why, std::nullopt};
}

// Before anything is written: an archive larger than allowed, or than the
// folder's disk can hold.
std::optional<ArchiveExtractor::Result> sizeRefusal(zip_t *archive, zip_uint64_t memberCount, int root,
                                                    qint64 maxTotalBytes)
{
    struct statvfs disk;
    const bool diskKnown = ::fstatvfs(root, &disk) == 0 && disk.f_frsize > 0;
    const ArchiveSize size = archiveSize(archive, memberCount, diskKnown ? disk.f_frsize : 4096);
    if (size.declaredBytes > quint64(std::max<qint64>(maxTotalBytes, 0)))
        return failed(overBudgetText(maxTotalBytes));
    const quint64 available = diskKnown ? quint64(disk.f_bavail) * quint64(disk.f_frsize) : ~quint64(0);
    if (size.diskBytes <= available)
        return std::nullopt;
    const ArchiveExtractor::SpaceShortfall shortfall{clampedBytes(size.diskBytes), clampedBytes(available)};
    const QString why = QStringLiteral("not enough free space: needs %1 bytes, %2 available")
                            .arg(shortfall.neededBytes)
                            .arg(shortfall.availableBytes);
    return ArchiveExtractor::Result{false, why, shortfall};
}

/// One pass over the members of an open archive, in central-directory order.
class ExtractionRun final
{
public:
    ExtractionRun(zip_t *archive, int root, qint64 byteBudget, int maxNameBytes)
        : m_archive(archive), m_root(root), m_byteBudget(byteBudget), m_maxNameBytes(maxNameBytes)
    {
    }

    bool run(zip_uint64_t memberCount)
    {
        for (zip_uint64_t index = 0; index < memberCount; ++index) {
            if (!extractMember(index))
                return false;
        }
        restoreDirectoryTimes();
        return true;
    }

    QString failure() const { return m_failure; }

private:
    bool fail(const QString &why)
    {
        m_failure = m_member.isEmpty() ? why : QStringLiteral("member \"%1\": %2").arg(m_member, why);
        return false;
    }

    bool extractMember(zip_uint64_t index)
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        m_member.clear();
        if (zip_stat_index(m_archive, index, ZIP_FL_ENC_STRICT, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
            return fail(QStringLiteral("member %1: %2").arg(index).arg(QString::fromUtf8(zip_strerror(m_archive))));
        const QByteArray name(stat.name);
        m_member = QString::fromUtf8(name);
        if (name.size() > m_maxNameBytes)
            return fail(QStringLiteral("member name longer than %1 bytes").arg(m_maxNameBytes));
        const zip_uint64_t needed = ZIP_STAT_SIZE | ZIP_STAT_CRC | ZIP_STAT_MTIME;
        if ((stat.valid & needed) != needed)
            return fail(QStringLiteral("member size, checksum or date unknown"));

        QString why;
        const std::optional<MemberPath> path = parseMemberPath(name, &why);
        if (!path)
            return fail(why);
        const MemberMode mode = memberMode(m_archive, index, name);
        if (mode.kind == MemberKind::directory)
            return extractDirectory(*path, mode.permissions, stat.mtime);
        if (path->leaf.isEmpty())
            return fail(QStringLiteral("member name denotes the extraction folder itself"));
        if (stat.size > quint64(m_byteBudget - m_written))
            return failOverBudget();

        const int parent = openDirectory(path->directories, true);
        if (parent < 0)
            return false;
        if (mode.kind == MemberKind::symlink)
            return extractSymlink(index, stat, parent, *path);
        return extractFile(index, stat, parent, path->leaf, mode.permissions);
    }

    bool failOverBudget() { return fail(overBudgetText(m_byteBudget)); }

    // Returns a descriptor owned by this run, or -1 after recording the failure.
    // No component is ever followed through a symbolic link.
    int openDirectory(const QList<QByteArray> &components, bool create)
    {
        if (components.isEmpty())
            return m_root;
        const QByteArray key = components.join('/');
        if (key == m_cachedPath && m_cachedDirectory.isValid())
            return m_cachedDirectory.get();

        FileDescriptor current;
        for (const QByteArray &component : components) {
            const int parent = current.isValid() ? current.get() : m_root;
            if (create && ::mkdirat(parent, component.constData(), 0755) != 0 && errno != EEXIST) {
                fail(QStringLiteral("cannot create folder \"%1\": %2")
                         .arg(QString::fromUtf8(component), systemError(errno)));
                return -1;
            }
            const int next = ::openat(parent, component.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (next < 0) {
                const bool notAFolder = errno == ELOOP || errno == ENOTDIR;
                fail(notAFolder ? QStringLiteral("\"%1\" is not a folder of the extraction").arg(QString::fromUtf8(component))
                                : QStringLiteral("cannot open folder \"%1\": %2")
                                      .arg(QString::fromUtf8(component), systemError(errno)));
                return -1;
            }
            current.reset(next);
        }
        m_cachedPath = key;
        m_cachedDirectory = std::move(current);
        return m_cachedDirectory.get();
    }

    bool extractDirectory(const MemberPath &path, mode_t permissions, time_t modified)
    {
        if (path.leaf.isEmpty())
            return true;
        QList<QByteArray> components = path.directories;
        components.append(path.leaf);
        const int directory = openDirectory(components, true);
        if (directory < 0)
            return false;
        if (::fchmod(directory, permissions) != 0)
            return fail(QStringLiteral("cannot set permissions: %1").arg(systemError(errno)));
        // Writing the folder's contents would move its date again: set at the end.
        m_directoryTimes.append({components, modified});
        return true;
    }

    bool extractFile(zip_uint64_t index, const zip_stat_t &stat, int parent, const QByteArray &leaf, mode_t permissions)
    {
        FileDescriptor target(::openat(parent, leaf.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!target.isValid()) {
            return fail(errno == EEXIST ? QStringLiteral("an item of that name already exists")
                                        : QStringLiteral("cannot create file: %1").arg(systemError(errno)));
        }
        if (!writeFile(index, stat, target, permissions)) {
            // A member that failed half-way must not look extracted.
            target.reset();
            ::unlinkat(parent, leaf.constData(), 0);
            return false;
        }
        return true;
    }

    bool writeFile(zip_uint64_t index, const zip_stat_t &stat, FileDescriptor &target, mode_t permissions)
    {
        ZipFile source(zip_fopen_index(m_archive, index, 0));
        if (!source)
            return fail(QString::fromUtf8(zip_strerror(m_archive)));
        if (!copyMember(source.get(), target.get(), stat))
            return false;
        const timespec times[2] = {{stat.mtime, 0}, {stat.mtime, 0}};
        if (::fchmod(target.get(), permissions) != 0 || ::futimens(target.get(), times) != 0)
            return fail(QStringLiteral("cannot restore permissions or date: %1").arg(systemError(errno)));
        if (target.close() != 0)
            return fail(QStringLiteral("cannot write file: %1").arg(systemError(errno)));
        return true;
    }

    // Streams the member in bounded pieces, counting what libzip delivers: it
    // may deliver more than the member declares, and reports a CRC mismatch
    // only at the very end, so the checksum is computed here as well.
    bool copyMember(zip_file_t *source, int target, const zip_stat_t &stat)
    {
        if (m_buffer.empty())
            m_buffer.resize(copyBufferBytes);
        uLong crc = crc32(0L, Z_NULL, 0);
        zip_uint64_t delivered = 0;
        for (;;) {
            const zip_int64_t count = zip_fread(source, m_buffer.data(), m_buffer.size());
            if (count < 0)
                return fail(QString::fromUtf8(zip_file_strerror(source)));
            if (count == 0)
                break;
            delivered += zip_uint64_t(count);
            if (delivered > stat.size)
                return fail(QStringLiteral("member holds more bytes than it declares"));
            m_written += count;
            if (m_written > m_byteBudget)
                return failOverBudget();
            crc = crc32_z(crc, reinterpret_cast<const Bytef *>(m_buffer.data()), size_t(count));
            if (!writeAll(target, m_buffer.data(), size_t(count)))
                return fail(QStringLiteral("cannot write file: %1").arg(systemError(errno)));
        }
        if (delivered != stat.size)
            return fail(QStringLiteral("member holds fewer bytes than it declares"));
        if (crc != stat.crc)
            return fail(QStringLiteral("CRC-32 mismatch"));
        return true;
    }

    bool extractSymlink(zip_uint64_t index, const zip_stat_t &stat, int parent, const MemberPath &path)
    {
        if (stat.size > maxLinkTargetBytes)
            return fail(QStringLiteral("symbolic link target too long"));
        ZipFile source(zip_fopen_index(m_archive, index, 0));
        if (!source)
            return fail(QString::fromUtf8(zip_strerror(m_archive)));
        QByteArray target(qsizetype(stat.size), '\0');
        const zip_int64_t count = zip_fread(source.get(), target.data(), stat.size);
        // Reading on past the declared end finds surplus bytes and lets libzip check its checksum.
        const zip_int64_t surplus = count < 0 ? count : zip_fread(source.get(), m_probe, sizeof m_probe);
        if (surplus < 0)
            return fail(QString::fromUtf8(zip_file_strerror(source.get())));
        if (zip_uint64_t(count) != stat.size || surplus != 0)
            return fail(QStringLiteral("member size does not match its contents"));
        m_written += count;
        if (crc32_z(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(target.constData()), size_t(count)) != stat.crc)
            return fail(QStringLiteral("CRC-32 mismatch"));
        if (!linkTargetStaysInside(target, path.directories.size()))
            return fail(QStringLiteral("symbolic link leads out of the folder"));
        if (::symlinkat(target.constData(), parent, path.leaf.constData()) != 0) {
            return fail(errno == EEXIST ? QStringLiteral("an item of that name already exists")
                                        : QStringLiteral("cannot create symbolic link: %1").arg(systemError(errno)));
        }
        return true;
    }

    void restoreDirectoryTimes()
    {
        for (const auto &[components, modified] : std::as_const(m_directoryTimes)) {
            const int directory = openDirectory(components, false);
            const timespec times[2] = {{modified, 0}, {modified, 0}};
            if (directory >= 0)
                ::futimens(directory, times);
        }
        // Every member is in place: a folder date that cannot be set is no failure.
        m_failure.clear();
    }

    zip_t *m_archive;
    int m_root;
    qint64 m_byteBudget;
    int m_maxNameBytes;
    qint64 m_written = 0;
    QString m_member;
    QString m_failure;
    QByteArray m_cachedPath;
    FileDescriptor m_cachedDirectory;
    std::vector<char> m_buffer;
    char m_probe[1] = {};
    QList<QPair<QList<QByteArray>, time_t>> m_directoryTimes;
};

} // namespace

ArchiveExtractor::ArchiveExtractor() : m_limits(Limits{}) {}

ArchiveExtractor::ArchiveExtractor(Limits limits) : m_limits(limits) {}

ArchiveExtractor::Result ArchiveExtractor::extract(const QString &archivePath, const QString &folder) const
{
    const QByteArray nativeArchive = QFile::encodeName(archivePath);
    struct stat archiveStat;
    if (::stat(nativeArchive.constData(), &archiveStat) != 0)
        return failed(QStringLiteral("cannot open the archive: %1").arg(systemError(errno)));
    // libzip reads an empty file as an empty archive; it has no directory at all.
    if (S_ISREG(archiveStat.st_mode) && archiveStat.st_size == 0)
        return failed(zipErrorText(ZIP_ER_NOZIP));

    int errorCode = 0;
    ZipArchive archive(zip_open(nativeArchive.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &errorCode));
    if (!archive)
        return failed(zipErrorText(errorCode));
    const zip_int64_t memberCount = zip_get_num_entries(archive.get(), 0);
    if (memberCount < 0 || memberCount > m_limits.maxMembers)
        return failed(QStringLiteral("archive holds more than %1 members").arg(m_limits.maxMembers));

    FileDescriptor root(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.isValid())
        return failed(QStringLiteral("cannot open the extraction folder: %1").arg(systemError(errno)));
    const zip_uint64_t members = zip_uint64_t(memberCount);
    if (std::optional<Result> refusal = sizeRefusal(archive.get(), members, root.get(), m_limits.maxTotalBytes))
        return *refusal;

    ExtractionRun run(archive.get(), root.get(), m_limits.maxTotalBytes, m_limits.maxNameBytes);
    if (!run.run(members))
        return failed(run.failure());
    return {true, {}, std::nullopt};
}
