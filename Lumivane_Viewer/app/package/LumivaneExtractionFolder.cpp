#include "LumivaneExtractionFolder.h"

#include "FileDescriptor.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

QByteArray lockPath(const QString &folder)
{
    return QFile::encodeName(QDir(folder).filePath(LumivaneExtractionFolder::lockFileName()));
}

// The lock file is made and locked under another name, then moved into
// place: a cleaner never finds it there unlocked while its owner lives.
int lockFolder(const QString &folder)
{
    const QByteArray path = lockPath(folder);
    const QByteArray staged = path + ".new";
    const int fd = ::open(staged.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::rename(staged.constData(), path.constData()) != 0) {
        ::close(fd);
        ::unlink(staged.constData());
        return -1;
    }
    return fd;
}

// The names in a folder, read once: entries removed meanwhile would
// otherwise leave the reading position undefined.
QList<QByteArray> entryNames(int folder)
{
    QList<QByteArray> names;
    const int copy = ::dup(folder);
    DIR *listing = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!listing) {
        if (copy >= 0)
            ::close(copy);
        return names;
    }
    // The copy shares its reading position with the original.
    ::rewinddir(listing);
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    ::closedir(listing);
    return names;
}

FileDescriptor openFolderAt(int parent, const QByteArray &name)
{
    return FileDescriptor(
        ::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
}

// Everything inside, reached through descriptors only: a folder swapped for
// a link meanwhile is never followed.
void removeContents(int folder)
{
    for (const QByteArray &name : entryNames(folder)) {
        const FileDescriptor inner = openFolderAt(folder, name);
        if (!inner.isValid()) {
            ::unlinkat(folder, name.constData(), 0);
            continue;
        }
        removeContents(inner.get());
        ::unlinkat(folder, name.constData(), AT_REMOVEDIR);
    }
}

bool isOwnedByThisUser(int folder)
{
    struct stat status;
    return ::fstat(folder, &status) == 0 && status.st_uid == ::geteuid();
}

// The folder is opened once, and the lock is kept through the deletion, so
// that no other cleaner starts on the same folder.
bool removeIfAbandoned(int parent, const QByteArray &name)
{
    const FileDescriptor folder = openFolderAt(parent, name);
    if (!folder.isValid() || !isOwnedByThisUser(folder.get()))
        return false;
    const QByteArray lockName = QFile::encodeName(LumivaneExtractionFolder::lockFileName());
    const FileDescriptor lock(
        ::openat(folder.get(), lockName.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!lock.isValid() || ::flock(lock.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    removeContents(folder.get());
    // A link put in the folder's place is no folder: it stays, and so does
    // what it points to.
    return ::unlinkat(parent, name.constData(), AT_REMOVEDIR) == 0;
}

} // namespace

LumivaneExtractionFolder::LumivaneExtractionFolder(QString path)
    : m_path(std::move(path))
    , m_lock(lockFolder(m_path))
{
}

LumivaneExtractionFolder::~LumivaneExtractionFolder()
{
    remove();
}

LumivaneExtractionFolder::LumivaneExtractionFolder(LumivaneExtractionFolder &&other) noexcept
    : m_path(std::exchange(other.m_path, QString()))
    , m_lock(std::exchange(other.m_lock, -1))
{
}

LumivaneExtractionFolder &LumivaneExtractionFolder::operator=(LumivaneExtractionFolder &&other) noexcept
{
    if (this != &other) {
        remove();
        m_path = std::exchange(other.m_path, QString());
        m_lock = std::exchange(other.m_lock, -1);
    }
    return *this;
}

void LumivaneExtractionFolder::remove()
{
    // An empty path would name the working directory.
    if (!m_path.isEmpty())
        QDir(std::exchange(m_path, QString())).removeRecursively();
    // Released only once the folder is gone, so no cleaner races the deletion.
    if (m_lock >= 0)
        ::close(std::exchange(m_lock, -1));
}

QUrl LumivaneExtractionFolder::url() const
{
    return m_path.isEmpty() ? QUrl() : QUrl::fromLocalFile(m_path + QLatin1Char('/'));
}

int LumivaneExtractionFolder::removeAbandoned(const QString &parent, const QString &prefix)
{
    const FileDescriptor folder(
        ::open(QFile::encodeName(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isValid())
        return 0;
    const QByteArray namePrefix = QFile::encodeName(prefix);
    int removed = 0;
    for (const QByteArray &name : entryNames(folder.get())) {
        if (name.startsWith(namePrefix) && removeIfAbandoned(folder.get(), name))
            ++removed;
    }
    return removed;
}
