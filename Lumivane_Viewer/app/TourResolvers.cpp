#include "TourResolvers.h"

#include "viewer/state/AttachmentFiles.h"

#include <QDir>

namespace TourResolvers {

std::optional<QUrl> photoURL(const LumivaneImportedTour &tour, const QUuid &stationID)
{
    const auto found = tour.photoURLs.constFind(stationID);
    if (found == tour.photoURLs.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QUrl> audioURL(const LumivaneImportedTour &tour, const QUuid &stationID)
{
    return tour.audioURL(stationID);
}

QUrl attachmentURL(const LumivaneImportedTour &tour, const QString &name)
{
    const QDir attachments(QDir(tour.extractionFolder.toLocalFile()).filePath(QStringLiteral("attachments")));
    // A fresh random name: nothing in any package can be named after it.
    const QString fileName = AttachmentFiles::isPlainFileName(name)
                                 ? name
                                 : QStringLiteral("refused-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QUrl::fromLocalFile(attachments.filePath(fileName));
}

} // namespace TourResolvers
