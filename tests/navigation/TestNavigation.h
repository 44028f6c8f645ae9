#pragma once

#include "NavigationTestHost.h"
#include "TestPhotoFiles.h"
#include "TestStations.h"
#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "navigation/StationThumbnailLoader.h"
#include "tests/support/WidgetLookup.h"

#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// What the widget tests of the navigation views share: an English L10n, a
// cache of their own, photo files by station and a dark host window.
class NavigationViewTest : public ::testing::Test
{
protected:
    static inline const QColor accent{0x20, 0x90, 0xE0};

    NavigationViewTest() { l10n.setCurrent(L10n::Language::english); }

    /// Writes a flat-coloured photo for the station.
    QColor givePhoto(const Station &station, QColor color, QSize size = QSize(800, 400))
    {
        photos.insert(station.id, TestPhotoFiles::writePhoto(QDir(folder.path()), station.id.toString(QUuid::WithoutBraces),
                                                            color, size));
        return color;
    }

    StationPhotoResolver resolver() const
    {
        return [photos = photos](const QUuid &id) -> std::optional<QUrl> {
            if (const auto found = photos.constFind(id); found != photos.constEnd())
                return *found;
            return std::nullopt;
        };
    }

    void showHost()
    {
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    QTemporaryDir folder;
    L10n l10n{{QStringLiteral("en")}};
    std::shared_ptr<LumivaneImageCache> cache =
        LumivaneImageCache::create({10, qint64(1) << 28, qint64(1) << 28});
    QHash<QUuid, QUrl> photos;
    NavigationTestHost host{QSize(1000, 700)};
};
