#include "LumivaneExtractionFolder.h"

#include <QDir>

#include <utility>

LumivaneExtractionFolder::LumivaneExtractionFolder(QString path)
    : m_path(std::move(path))
{
}

LumivaneExtractionFolder::~LumivaneExtractionFolder()
{
    remove();
}

LumivaneExtractionFolder::LumivaneExtractionFolder(LumivaneExtractionFolder &&other) noexcept
    : m_path(std::exchange(other.m_path, QString()))
{
}

LumivaneExtractionFolder &LumivaneExtractionFolder::operator=(LumivaneExtractionFolder &&other) noexcept
{
    if (this != &other) {
        remove();
        m_path = std::exchange(other.m_path, QString());
    }
    return *this;
}

void LumivaneExtractionFolder::remove()
{
    // An empty path would name the working directory.
    if (m_path.isEmpty())
        return;
    QDir(std::exchange(m_path, QString())).removeRecursively();
}

QUrl LumivaneExtractionFolder::url() const
{
    return m_path.isEmpty() ? QUrl() : QUrl::fromLocalFile(m_path + QLatin1Char('/'));
}
