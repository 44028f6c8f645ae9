#pragma once

#include "TestTours.h"
#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/sound/LumivaneAudioService.h"
#include "viewer/LumivaneViewerSheet.h"
#include "viewer/OverlayLayer.h"
#include "viewer/ServiceViewerEffects.h"
#include "viewer/ViewerLayerStack.h"
#include "viewer/ViewerNotifications.h"
#include "viewer/state/ViewerController.h"
#include "viewer/station/StationStackView.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

// A viewer sheet over a tour built in code, with services of its own:
// French interface, a narration player, a small image cache, a notification
// centre and a recorded desktop. Photos are flat colours written on demand.
class ViewerSheetFixture : public ::testing::Test
{
public:
    ViewerSheetFixture()
        : language(QStringList{QStringLiteral("fr-FR")})
    {
        language.setCurrent(L10n::Language::french);
        services.l10n = &language;
        services.narration = &narration;
        services.imageCache = LumivaneImageCache::create({10, 512LL << 20, 128LL << 20});
        services.notifications = &notifications;
        services.openExternal = [this](const QUrl &url) {
            opened << url;
            return true;
        };
    }

    /// Writes station n's photo as one flat colour; stations without one have no photo.
    QUrl writePhoto(int n, const QColor &color, QSize size = {512, 256})
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        const QString path = photos.filePath(QStringLiteral("%1.jpg").arg(n));
        EXPECT_TRUE(image.save(path, "JPG", 95));
        photoURLs.insert(TestTours::stationID(n), QUrl::fromLocalFile(path));
        return photoURLs.value(TestTours::stationID(n));
    }

    ViewerTour tourOf(LumivaneProject project)
    {
        ViewerTour tour;
        tour.project = std::move(project);
        tour.projectID = tour.project.id;
        tour.photoURLResolver = [this](const QUuid &id) -> std::optional<QUrl> {
            const auto found = photoURLs.constFind(id);
            return found == photoURLs.cend() ? std::nullopt : std::optional<QUrl>(*found);
        };
        tour.dismiss = [this] { ++dismissals; };
        return tour;
    }

    /// A sheet for the project, shown in a window of the given size.
    LumivaneViewerSheet &open(LumivaneProject project, QSize size = {1280, 800})
    {
        sheet = std::make_unique<LumivaneViewerSheet>(tourOf(std::move(project)), services);
        sheet->resize(size);
        sheet->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
        return *sheet;
    }

    /// Opens the project and leaves the cover for the stations.
    LumivaneViewerSheet &openStarted(LumivaneProject project, QSize size = {1280, 800})
    {
        open(std::move(project), size);
        sheet->controller().startTour();
        return *sheet;
    }

    ~ViewerSheetFixture() override
    {
        sheet.reset();
        // Preloading still decoding when the test ends must not outlive it.
        LumivaneImageCache::pool()->waitForDone();
    }

    ViewerController &controller() const { return sheet->controller(); }
    StationStackView *stations() const { return sheet->stationView(); }

    /// The views a layer shows and keeps (not those on their way out).
    QList<QWidget *> shownIn(ViewerLayer layer) const
    {
        QList<QWidget *> shown;
        OverlayLayer &overlay = stations()->stack().layer(layer);
        for (QWidget *view : overlay.views()) {
            if (!overlay.isLeaving(view))
                shown << view;
        }
        return shown;
    }

    /// Lets a station change run to its end (the fade in, the arrival, the fade out).
    static void waitForStationChange() { QTest::qWait(600); }

    L10n language;
    LumivaneAudioService narration;
    ViewerNotifications notifications;
    ViewerServices services;
    QList<QUrl> opened;
    int dismissals = 0;
    QTemporaryDir photos;
    QHash<QUuid, QUrl> photoURLs;
    std::unique_ptr<LumivaneViewerSheet> sheet;
};
