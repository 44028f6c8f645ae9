#include "TourResolvers.h"

#include <QDir>

namespace {

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

} // namespace

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
    const QString fileName = isPlainFileName(name)
                                 ? name
                                 : QStringLiteral("refused-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QUrl::fromLocalFile(attachments.filePath(fileName));
}

} // namespace TourResolvers
