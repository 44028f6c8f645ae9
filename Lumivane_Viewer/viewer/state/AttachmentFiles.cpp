#include "viewer/state/AttachmentFiles.h"

#include "model/LumivaneStorageFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringList>

#include <algorithm>

namespace AttachmentFiles {

namespace {

QUrl resolvedURL(const QString &payload, const AttachmentURLResolver &resolver, const QUuid &projectID)
{
    if (resolver)
        return resolver(payload);
    const QDir folder(LumivaneStorageFolders::attachmentsFolder(projectID).toLocalFile());
    return QUrl::fromLocalFile(folder.filePath(payload));
}

// The folder the file was resolved into is where it must stay once every
// link on the way (the file's own, or a folder's) is followed.
bool staysInsideItsFolder(const QFileInfo &file)
{
    const QString canonicalFolder = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString canonicalFile = file.canonicalFilePath();
    return !canonicalFolder.isEmpty() && canonicalFile.startsWith(canonicalFolder + QLatin1Char('/'));
}

// Filed under audio/ yet holding no sound: lists of addresses and downloads
// that a player would go and fetch.
bool isPlaylistType(const QMimeType &type)
{
    static const QStringList playlists = {QStringLiteral("audio/x-mpegurl"), QStringLiteral("audio/x-scpls"),
                                          QStringLiteral("audio/x-ms-asx"), QStringLiteral("audio/x-amzxml")};
    return std::any_of(playlists.cbegin(), playlists.cend(),
                       [&type](const QString &name) { return type.inherits(name); });
}

bool isAudioType(const QMimeType &type)
{
    const auto isAudio = [](const QString &name) { return name.startsWith(QLatin1String("audio/")); };
    const QStringList ancestors = type.allAncestors();
    const bool audio = isAudio(type.name()) || std::any_of(ancestors.cbegin(), ancestors.cend(), isAudio);
    return audio && !isPlaylistType(type);
}

} // namespace

bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

std::optional<QUrl> fileURL(const QString &payload, const AttachmentURLResolver &resolver, const QUuid &projectID)
{
    if (!isPlainFileName(payload))
        return std::nullopt;
    const QUrl url = resolvedURL(payload, resolver, projectID);
    if (!url.isLocalFile())
        return std::nullopt;
    const QFileInfo file(url.toLocalFile());
    if (file.exists())
        return staysInsideItsFolder(file) ? std::optional<QUrl>(url) : std::nullopt;
    // A dangling link may point anywhere; a plain missing file stays missing.
    return file.isSymLink() ? std::nullopt : std::optional<QUrl>(url);
}

bool isSoundFile(const QUrl &url)
{
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
        return false;
    // The desktop picks the program by the file's name before its content:
    // both must say sound, or a sound could reach a launcher or a script.
    const QMimeDatabase types;
    const QString path = url.toLocalFile();
    return isAudioType(types.mimeTypeForFile(path, QMimeDatabase::MatchExtension))
        && isAudioType(types.mimeTypeForFile(path, QMimeDatabase::MatchContent));
}

} // namespace AttachmentFiles
