#include "LumivaneImportedTour.h"

#include "PackageNames.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Any kind of item counts, a dangling link included.
bool itemExists(const QString &path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// Private to this user: other accounts sharing the temporary directory can
// neither read the tour nor slip anything into the folder.
std::optional<QString> createExtractionFolder(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
        return QStringLiteral("Cannot create the folder \"%1\": %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    return std::nullopt;
}

// Directory order differs between machines; sorted names make "the last one
// listed wins" give the same photo everywhere.
QHash<QUuid, QUrl> mapPhotos(const QString &folder)
{
    const QDir photos(QDir(folder).filePath(QStringLiteral("photos")));
    QStringList names = photos.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Unsorted);
    std::sort(names.begin(), names.end());
    QHash<QUuid, QUrl> photoURLs;
    for (const QString &name : std::as_const(names)) {
        if (const auto id = PackageNames::uuidFromCanonicalText(PackageNames::withoutExtension(name)))
            photoURLs.insert(*id, QUrl::fromLocalFile(photos.filePath(name)));
    }
    return photoURLs;
}

struct ProjectBytes
{
    std::optional<QByteArray> json;
    std::optional<LumivaneOpenError> error;
};

ProjectBytes readProjectJSON(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, LumivaneOpenError::fileError(file.errorString())};
    const QByteArray json = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, LumivaneOpenError::fileError(file.errorString())};
    if (json.size() > maxBytes) {
        const QString why = QStringLiteral("project.json is larger than %1 bytes").arg(maxBytes);
        return {std::nullopt, LumivaneImportError::extractionFailed(why)};
    }
    return {json, std::nullopt};
}

} // namespace

LumivaneImportedTour::OpenResult LumivaneImportedTour::open(const QUrl &archiveURL)
{
    return open(archiveURL, Limits{});
}

LumivaneImportedTour::OpenResult LumivaneImportedTour::open(const QUrl &archiveURL, const Limits &limits)
{
    const QString folder = QDir(QDir::tempPath())
                               .filePath(extractionFolderPrefix() + PackageNames::upperCaseID(QUuid::createUuid()));
    if (const auto failure = createExtractionFolder(folder))
        return LumivaneOpenError::fileError(*failure);
    // Every failure from here on deletes the folder as its owner goes.
    LumivaneExtractionFolder owner(folder);

    const ArchiveExtractor::Result extraction = ArchiveExtractor(limits.extraction).extract(archiveURL.toLocalFile(), folder);
    if (extraction.shortfall)
        return LumivaneOpenError(LumivaneImportError::notEnoughSpace(*extraction.shortfall));
    if (!extraction.succeeded)
        return LumivaneOpenError(LumivaneImportError::extractionFailed(extraction.failure));

    // Only the root counts: a project.json in a subfolder is not the project.
    const QString projectPath = QDir(folder).filePath(QStringLiteral("project.json"));
    if (!itemExists(projectPath))
        return LumivaneOpenError(LumivaneImportError::projectJSONMissing());
    const ProjectBytes bytes = readProjectJSON(projectPath, limits.maxProjectJSONBytes);
    if (!bytes.json)
        return *bytes.error;
    QString decodeError;
    std::optional<LumivaneProject> project = LumivaneProject::fromJson(*bytes.json, &decodeError);
    if (!project)
        return LumivaneOpenError(LumivaneImportError::decodeFailed(decodeError));

    LumivaneImportedTour tour;
    tour.project = std::move(*project);
    tour.extractionFolder = owner.url();
    tour.photoURLs = mapPhotos(folder);
    return OpenResult(std::move(tour), std::move(owner));
}

std::optional<QUrl> LumivaneImportedTour::audioURL(const QUuid &stationID) const
{
    if (!extractionFolder.isLocalFile())
        return std::nullopt;
    const QString name = PackageNames::upperCaseID(stationID) + QStringLiteral(".m4a");
    const QString path = QDir(extractionFolder.toLocalFile()).filePath(QStringLiteral("audio/") + name);
    if (!itemExists(path))
        return std::nullopt;
    return QUrl::fromLocalFile(path);
}
