#include "LumivaneStorageFolders.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace LumivaneStorageFolders {

namespace {

QUrl createdFolder(const QString &path)
{
    QDir().mkpath(path); // a folder that cannot be created is still answered
    return QUrl::fromLocalFile(QDir::cleanPath(path) + QLatin1Char('/'));
}

QString documentsFolder()
{
    const QStringList locations = QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation);
    if (!locations.isEmpty())
        return locations.first();
    return QDir(QDir::homePath()).filePath(QStringLiteral("Documents"));
}

} // namespace

std::optional<QUrl> iCloudContainerURL()
{
    return std::nullopt;
}

bool isICloudEnabled()
{
    if (!QSettings().value(QLatin1String(useICloudSettingsKey), false).toBool())
        return false;
    return iCloudContainerURL().has_value();
}

std::optional<QUrl> iCloudProjectsFolderURL()
{
    const std::optional<QUrl> container = iCloudContainerURL();
    if (!container)
        return std::nullopt;
    return createdFolder(QDir(container->toLocalFile()).filePath(QStringLiteral("Documents/Projets")));
}

QUrl localProjectsFolderURL()
{
    return createdFolder(QDir(documentsFolder()).filePath(QStringLiteral("Lumivane/Projets")));
}

QUrl projectFolder(const QUuid &projectID)
{
    const std::optional<QUrl> cloudRoot = isICloudEnabled() ? iCloudProjectsFolderURL() : std::nullopt;
    const QUrl root = cloudRoot ? *cloudRoot : localProjectsFolderURL();
    return QUrl::fromLocalFile(QDir(root.toLocalFile()).filePath(projectID.toString(QUuid::WithoutBraces).toUpper()) + QLatin1Char('/'));
}

namespace {

QUrl createdProjectSubfolder(const QUuid &projectID, const QString &name)
{
    return createdFolder(QDir(projectFolder(projectID).toLocalFile()).filePath(name));
}

} // namespace

QUrl attachmentsFolder(const QUuid &projectID)
{
    return createdProjectSubfolder(projectID, QStringLiteral("attachments"));
}

QUrl audioFolder(const QUuid &projectID)
{
    return createdProjectSubfolder(projectID, QStringLiteral("audio"));
}

} // namespace LumivaneStorageFolders
