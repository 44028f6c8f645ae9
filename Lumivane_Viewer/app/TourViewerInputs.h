#pragma once

#include "app/package/LumivaneImportedTour.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <optional>

/// Everything the window hands the tour viewer for one opened tour: the
/// project by value, its id and the three resolvers, each holding its own
/// copy of the tour, and the window's way to close the tour. The viewer is
/// given nothing else.
struct TourViewerInputs
{
    LumivaneProject project;
    QUuid projectID;
    std::function<std::optional<QUrl>(const QUuid &stationID)> photoURLResolver;
    std::function<QUrl(const QString &fileName)> attachmentURLResolver;
    std::function<std::optional<QUrl>(const QUuid &stationID)> audioURLResolver;
    /// What closing the viewer does: the window's "Fermer la visite".
    std::function<void()> dismiss;

    static TourViewerInputs from(const LumivaneImportedTour &tour);
};
