#pragma once

#include "app/package/LumivaneImportedTour.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <optional>

/// Everything the window hands the tour viewer for one opened tour: the
/// project by value, its id and the three resolvers, each holding its own
/// copy of the tour. The viewer is given nothing else.
struct TourViewerInputs
{
    LumivaneProject project;
    QUuid projectID;
    std::function<std::optional<QUrl>(const QUuid &stationID)> photoURLResolver;
    std::function<QUrl(const QString &fileName)> attachmentURLResolver;
    std::function<std::optional<QUrl>(const QUuid &stationID)> audioURLResolver;

    static TourViewerInputs from(const LumivaneImportedTour &tour);
};
