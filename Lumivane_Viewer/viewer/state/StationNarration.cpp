#include "viewer/state/StationNarration.h"

#include "model/LumivaneStorageFolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString narrationFileName(const QUuid &stationID)
{
    return stationID.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".m4a");
}

bool namesBaseFile(const Station &station)
{
    return station.audioCommentFilename && !station.audioCommentFilename->isEmpty();
}

} // namespace

bool StationNarration::isAvailable(const Station &station) const
{
    if (audioURLResolver)
        return audioURLResolver(station.id).has_value();
    if (existingLanguageFile(station))
        return true;
    return namesBaseFile(station) && QFileInfo::exists(baseFile(station));
}

std::optional<QUrl> StationNarration::fileToPlay(const Station &station) const
{
    if (audioURLResolver) {
        if (const std::optional<QUrl> url = audioURLResolver(station.id))
            return url;
    }
    if (const std::optional<QString> languageFile = existingLanguageFile(station))
        return QUrl::fromLocalFile(*languageFile);
    if (namesBaseFile(station))
        return QUrl::fromLocalFile(baseFile(station));
    return std::nullopt;
}

std::optional<QString> StationNarration::existingLanguageFile(const Station &station) const
{
    const std::optional<Translations> &byLanguage = station.audioCommentFilenamesByLang;
    if (!byLanguage || !byLanguage->contains(languageCode))
        return std::nullopt;
    const QDir folder(QDir(LumivaneStorageFolders::audioFolder(projectID).toLocalFile()).filePath(languageCode));
    QDir().mkpath(folder.path()); // a folder that cannot be made only fails the test below
    const QString path = folder.filePath(narrationFileName(station.id));
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return path;
}

QString StationNarration::baseFile(const Station &station) const
{
    return QDir(LumivaneStorageFolders::audioFolder(projectID).toLocalFile()).filePath(narrationFileName(station.id));
}
