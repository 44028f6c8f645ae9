#include "viewer/state/AttachmentFiles.h"

#include "model/LumivaneStorageFolders.h"
#include "model/SelfContainedMedia.h"

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

// Formats that hold the sound itself. Much else is filed under audio/ too:
// lists of addresses or of other files (m3u, pls, asx, iRiver's pla), which
// a player would go and fetch, and tunes that are programs (sid, psf).
bool isSoundType(const QMimeType &type)
{
    static const QStringList sounds = {
        QStringLiteral("audio/mpeg"),     QStringLiteral("audio/x-wav"),     QStringLiteral("audio/x-aiff"),
        QStringLiteral("audio/x-aifc"),   QStringLiteral("audio/basic"),     QStringLiteral("audio/mp4"),
        QStringLiteral("audio/x-m4r"),    QStringLiteral("audio/aac"),       QStringLiteral("audio/ogg"),
        QStringLiteral("audio/flac"),     QStringLiteral("audio/x-speex"),   QStringLiteral("audio/AMR"),
        QStringLiteral("audio/AMR-WB"),   QStringLiteral("audio/ac3"),       QStringLiteral("audio/vnd.dts"),
        QStringLiteral("audio/x-ape"),    QStringLiteral("audio/x-wavpack"), QStringLiteral("audio/x-musepack"),
        QStringLiteral("audio/x-tta"),    QStringLiteral("audio/x-dsf"),     QStringLiteral("audio/x-dff"),
        QStringLiteral("audio/midi"),     QStringLiteral("audio/x-mod"),     QStringLiteral("audio/x-xm"),
        QStringLiteral("audio/x-it"),     QStringLiteral("audio/x-s3m"),     QStringLiteral("audio/x-stm"),
    };
    return std::any_of(sounds.cbegin(), sounds.cend(), [&type](const QString &name) { return type.inherits(name); });
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
    // Past the first bytes the type goes by, a tagged playlist or a
    // reference movie would have the desktop's player fetch what it names.
    const QMimeDatabase types;
    const QString path = url.toLocalFile();
    return isSoundType(types.mimeTypeForFile(path, QMimeDatabase::MatchExtension))
        && isSoundType(types.mimeTypeForFile(path, QMimeDatabase::MatchContent)) && isSelfContainedMediaFile(path);
}

} // namespace AttachmentFiles
