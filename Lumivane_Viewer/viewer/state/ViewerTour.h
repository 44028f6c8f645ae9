#pragma once

#include "model/LumivaneProject.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <optional>

/// A station id to the URL of one of its files, or none.
using StationURLResolver = std::function<std::optional<QUrl>(const QUuid &stationID)>;
/// An attachment's payload (a file name) to its URL.
using AttachmentURLResolver = std::function<QUrl(const QString &payload)>;

/// What the viewer is given for one tour: the project by value, its id, the
/// file resolvers and the two ways out. Empty optional functions mean "not
/// given".
struct ViewerTour
{
    LumivaneProject project;
    QUuid projectID;
    StationURLResolver photoURLResolver; // required
    AttachmentURLResolver attachmentURLResolver; // optional
    StationURLResolver audioURLResolver; // optional
    std::function<void()> onClose; // optional; replaces dismiss when given
    std::function<void()> dismiss; // the environment's way to close the viewer
};
