#include "CoverTestTours.h"

#include "panels/cover/ClassicCoverBackground.h"
#include "panels/cover/CoverBackground.h"
#include "panels/cover/CoverBlur.h"

#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"

#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

std::shared_ptr<LumivaneImageCache> freshCache()
{
    return LumivaneImageCache::create(LumivaneImageCache::Limits{4, 512ll << 20, 256ll << 20});
}

bool isBlack(const QColor &colour)
{
    return colour.red() < 8 && colour.green() < 8 && colour.blue() < 8;
}

TEST(CoverBlur, FillsTheViewAtASixthAndFadesItsEdges)
{
    // Red, green and blue bands side by side: a square view shows the middle one.
    QImage photo(300, 100, QImage::Format_RGB32);
    photo.fill(Qt::red);
    for (int y = 0; y < 100; ++y) {
        for (int x = 100; x < 200; ++x)
            photo.setPixelColor(x, y, Qt::green);
        for (int x = 200; x < 300; ++x)
            photo.setPixelColor(x, y, Qt::blue);
    }
    const QImage blurred = blurredCoverImage(photo, QSizeF(600, 600), 18);
    ASSERT_EQ(blurred.size(), QSize(100, 100));
    const QColor middle = blurred.pixelColor(50, 50);
    EXPECT_EQ(middle.alpha(), 255);
    EXPECT_GT(middle.green(), 250);
    EXPECT_LT(middle.red(), 5);
    // As if transparent pixels surrounded the photo: a Gaussian of 3 pixels
    // covers a pixel centred half a pixel inside the edge at 0.566, and the
    // corner pixel at 0.566 squared.
    EXPECT_NEAR(blurred.pixelColor(0, 50).alpha(), 144, 4);
    EXPECT_NEAR(blurred.pixelColor(0, 0).alpha(), 82, 4);
    EXPECT_TRUE(blurredCoverImage(QImage(), QSizeF(600, 600), 18).isNull());
    EXPECT_TRUE(blurredCoverImage(photo, QSizeF(0, 600), 18).isNull());
}

TEST(ClassicCoverBackground, BlursOncePerPhotoAndSizeOffTheGuiThread)
{
    QTemporaryDir folder;
    const QUrl url = writeTestPhoto(folder, QStringLiteral("photo.jpg"), QSize(3000, 2000));
    auto cache = freshCache();
    ClassicCoverBackground background(url, cache);
    background.resize(900, 600);
    background.show();
    // Until the blur is ready the view is plain black.
    EXPECT_TRUE(isBlack(background.grab().toImage().pixelColor(450, 300)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !background.blurredImage().isNull(); }, 10000));
    EXPECT_EQ(background.blurredSize(), QSize(900, 600));
    EXPECT_EQ(background.blurredImage().size(), QSize(150, 100));
    EXPECT_FALSE(isBlack(background.grab().toImage().pixelColor(450, 300)));
    // The photo was read at the size the preloading keeps.
    EXPECT_EQ(cache->usage().thumbnailCount, 1);
    EXPECT_EQ(cache->usage().fullCount, 0);

    // Away and back before the pause ends: the blur at hand stays.
    const qint64 first = background.blurredImage().cacheKey();
    background.resize(1200, 700);
    background.resize(900, 600);
    QTest::qWait(400);
    EXPECT_EQ(background.blurredImage().cacheKey(), first);

    background.resize(1200, 700);
    ASSERT_TRUE(QTest::qWaitFor([&] { return background.blurredSize() == QSize(1200, 700); }, 10000));
    EXPECT_EQ(background.blurredImage().size(), QSize(200, 117));
}

TEST(ClassicCoverBackground, UnreadablePhotoLeavesBlack)
{
    QTemporaryDir folder;
    ClassicCoverBackground background(QUrl::fromLocalFile(folder.filePath(QStringLiteral("missing.jpg"))), freshCache());
    background.resize(400, 300);
    background.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return background.blurredSize() == QSize(400, 300); }, 10000));
    EXPECT_TRUE(background.blurredImage().isNull());
    EXPECT_TRUE(isBlack(background.grab().toImage().pixelColor(200, 150)));
}

TEST(CoverBackground, LayerFollowsRenderModeAndPhoto)
{
    QTemporaryDir folder;
    const QUrl url = writeTestPhoto(folder, QStringLiteral("photo.jpg"), QSize(800, 400));
    CoverBackground background(RenderMode::classic, std::nullopt, freshCache());
    background.resize(640, 400);
    EXPECT_FALSE(background.panorama());
    EXPECT_FALSE(background.classic());
    // Black under the gradient: nothing brighter than black anywhere.
    const QImage empty = background.grab().toImage();
    EXPECT_TRUE(isBlack(empty.pixelColor(10, 10)) && isBlack(empty.pixelColor(630, 390)));

    background.setPhoto(RenderMode::classic, url);
    ASSERT_TRUE(background.classic());
    EXPECT_EQ(background.classic()->geometry(), background.rect());
    ClassicCoverBackground *classic = background.classic();
    background.setPhoto(RenderMode::classic, url);
    EXPECT_EQ(background.classic(), classic);
}

// Needs the virtual display: the panorama draws with OpenGL.
TEST(CoverBackground, PanoramaTourTurnsTheStartPhotoAndIgnoresThePointer)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a display with OpenGL";
    auto tour = unpackedSampleTour(SampleTourVariant::Demo, 2048);
    ASSERT_TRUE(tour && tour->startPhoto);
    CoverBackground background(tour->project.renderMode, tour->startPhoto, freshCache());
    background.resize(800, 500);
    background.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&background));
    Panorama360ViewerView *panorama = background.panorama();
    ASSERT_TRUE(panorama);
    EXPECT_FALSE(panorama->inputs().interactive);
    EXPECT_TRUE(panorama->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(panorama->inputs().autoRotate);
    EXPECT_EQ(panorama->inputs().autoRotateDurationSeconds, 90);
    EXPECT_EQ(panorama->inputs().fov, 75);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panorama->isLoadingPhoto() && panorama->sphere().opacity() >= 1; },
                                20000));
    const QImage before = panorama->grabFramebuffer();
    EXPECT_FALSE(isBlack(before.pixelColor(before.width() / 2, before.height() / 2)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panorama->grabFramebuffer() != before; }, 10000)) << "the photo stands still";
}

} // namespace
