#pragma once

#include "app/package/LumivaneImportedTour.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

/// Where the files of an opened tour lie, as the tour viewer asks for them:
/// photo and narration by station id, attachment by its file name. Each
/// answers from the tour it is given and touches nothing else.
namespace TourResolvers {

/// The station's photo from the package's `photos` folder, or none.
std::optional<QUrl> photoURL(const LumivaneImportedTour &tour, const QUuid &stationID);

/// The station's narration in the package's `audio` folder, when it exists.
std::optional<QUrl> audioURL(const LumivaneImportedTour &tour, const QUuid &stationID);

/// Always a URL inside the package's `attachments` folder, whether or not a
/// file exists there. A name that is not a plain file name (empty, "." or
/// "..", holding a path separator or NUL) names a file that never exists,
/// so a crafted payload cannot reach files outside the folder.
QUrl attachmentURL(const LumivaneImportedTour &tour, const QString &name);

} // namespace TourResolvers
