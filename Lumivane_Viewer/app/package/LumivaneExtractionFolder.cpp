#include "LumivaneExtractionFolder.h"

#include <QDir>
#include <QFile>

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

bool isOwnFolder(const QString &path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::geteuid();
}

// The lock is kept through the deletion, so that no other cleaner starts on
// the same folder.
bool removeIfAbandoned(const QString &folder)
{
    const int fd = ::open(lockPath(folder).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool abandoned = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (abandoned)
        QDir(folder).removeRecursively();
    ::close(fd);
    return abandoned;
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
    const QDir folder(parent);
    const QStringList names = folder.entryList({prefix + QLatin1Char('*')},
                                               QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    int removed = 0;
    for (const QString &name : names) {
        const QString path = folder.filePath(name);
        if (isOwnFolder(path) && removeIfAbandoned(path))
            ++removed;
    }
    return removed;
}
