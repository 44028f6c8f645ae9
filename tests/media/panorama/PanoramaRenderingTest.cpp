#include "PanoramaFixtures.h"
#include "tests/support/HostilePhotos.h"
#include "tests/support/PeakResident.h"

#include "media/images/LumivaneImageCache.h"
#include "media/panorama/PanoramaStrips.h"
#include "media/panorama/PanoramaTextureStore.h"
#include "media/panorama/scene/SphereTextureMapping.h"
#include "model/Palette.h"
#include "widgets/KeyboardFocus.h"
#include "tests/support/CaseName.h"
#include "tests/support/DisplayFocusLock.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSemaphore>
#include <QThreadPool>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <numbers>

using namespace PanoramaFixtures;

namespace {

constexpr double pi = std::numbers::pi;

class PanoramaRendering : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Three strips of unequal height on the GPU (512, 512 and 176 rows).
        m_photo = writePhoto(m_dir, QStringLiteral("gradient.png"), gradientPhoto(2400, 1200));
    }

    std::unique_ptr<Panorama360ViewerView> showView(Panorama360ViewerView::Inputs inputs)
    {
        auto view = std::make_unique<Panorama360ViewerView>(inputs, m_cache);
        view->resize(320, 240);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        EXPECT_TRUE(waitForPhoto(*view));
        // Let every fade end.
        view->scene().clock().setTime(view->scene().clock().now() + 5.0);
        return view;
    }

    /// Keeps every decoding thread of the image cache busy until `busy` is
    /// released once for each.
    static void occupyDecodingThreads(QSemaphore &busy)
    {
        QThreadPool *pool = LumivaneImageCache::pool();
        QSemaphore started;
        for (int i = 0; i < pool->maxThreadCount(); ++i) {
            pool->start([&busy, &started] {
                started.release();
                busy.acquire();
            });
        }
        started.acquire(pool->maxThreadCount());
    }

    static QColor centrePixel(Panorama360ViewerView &view)
    {
        const QImage frame = view.grabFramebuffer();
        return frame.pixelColor(frame.width() / 2, frame.height() / 2);
    }

    QTemporaryDir m_dir;
    QUrl m_photo;
    std::shared_ptr<LumivaneImageCache> m_cache = photoCache();
};

struct Direction
{
    double yaw;
    double pitch;
};

std::string directionName(const ::testing::TestParamInfo<Direction> &info)
{
    return caseName(QStringLiteral("yaw %1 pitch %2").arg(info.param.yaw).arg(info.param.pitch));
}

class PanoramaDirection : public PanoramaRendering, public ::testing::WithParamInterface<Direction>
{
};

TEST_P(PanoramaDirection, centrePixelShowsThePhotoAtTheInitialDirection)
{
    const Direction direction = GetParam();
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    inputs.initialYaw = direction.yaw;
    inputs.initialPitch = direction.pitch;
    auto view = showView(inputs);

    const QColor pixel = centrePixel(*view);
    const double column = SphereTextureMapping::photoColumn(direction.yaw);
    const double row = SphereTextureMapping::photoRow(direction.pitch);
    EXPECT_NEAR(pixel.red(), column * 255.0, 4.0) << "yaw " << direction.yaw;
    EXPECT_NEAR(pixel.green(), row * 255.0, 4.0) << "pitch " << direction.pitch;
    EXPECT_NEAR(pixel.blue(), 128, 3);
}

INSTANTIATE_TEST_SUITE_P(Directions, PanoramaDirection,
                         ::testing::Values(Direction{0.0, 0.0}, Direction{pi / 2, 0.0}, Direction{-pi / 2, 0.0},
                                           Direction{2.5, 0.0}, Direction{0.0, 0.6}, Direction{1.0, -0.7},
                                           Direction{-2.0, -1.2}, Direction{0.3, 0.01}),
                         directionName);

// Near the poles the strips keep fewer columns (here a half): the columns
// still land where the mapping puts them.
class PanoramaPolarDirection : public PanoramaRendering, public ::testing::WithParamInterface<Direction>
{
};

TEST_P(PanoramaPolarDirection, centrePixelShowsThePhotoAtTheInitialDirection)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = writePhoto(m_dir, QStringLiteral("tall.png"), gradientPhoto(1024, 4096));
    inputs.initialYaw = GetParam().yaw;
    inputs.initialPitch = GetParam().pitch;
    auto view = showView(inputs);
    ASSERT_EQ(PanoramaStrips::textureSize(QSize(1024, 4096), 0).width(), 512);
    const QColor pixel = centrePixel(*view);
    EXPECT_NEAR(pixel.red(), SphereTextureMapping::photoColumn(GetParam().yaw) * 255.0, 4.0);
    EXPECT_NEAR(pixel.green(), SphereTextureMapping::photoRow(GetParam().pitch) * 255.0, 4.0);
}

INSTANTIATE_TEST_SUITE_P(Directions, PanoramaPolarDirection,
                         ::testing::Values(Direction{-2.4, 1.3}, Direction{0.0, 1.25}, Direction{1.1, 1.35},
                                           Direction{2.0, -1.3}, Direction{-0.7, -1.25}),
                         directionName);

TEST_F(PanoramaRendering, hotspotAtTheInitialDirectionLandsAtTheCentreOverAGrid)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    auto view = showView(inputs);
    int trigger = 0;
    for (double yaw : {-3.0, -1.6, -0.5, 0.0, 0.7, 2.2, 3.1}) {
        for (double pitch : {-1.2, -0.4, 0.0, 0.5, 1.3}) {
            SCOPED_TRACE(testing::Message() << "yaw " << yaw << " pitch " << pitch);
            const Hotspot hotspot = navigationHotspot(yaw, pitch);
            inputs.hotspots = {hotspot};
            inputs.initialYaw = yaw;
            inputs.initialPitch = pitch;
            inputs.resetViewTrigger = ++trigger;
            view->setInputs(inputs);
            const SceneNode &group = *markerNode(*view, hotspot.id);
            const QVector3D centre = group.worldTransform(view->scene().clock().now()).map(QVector3D());
            EXPECT_NEAR(centre.x(), 0.0, 1e-4);
            EXPECT_NEAR(centre.y(), 0.0, 1e-4);
            EXPECT_NEAR(centre.z(), -9.0, 1e-4);
        }
    }
}

TEST_F(PanoramaRendering, hotspotAtTheCentreShowsItsColourAndAClickReportsIt)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    inputs.initialYaw = 0.8;
    inputs.initialPitch = 0.2;
    const Hotspot hotspot = navigationHotspot(0.8, 0.2);
    inputs.hotspots = {hotspot};
    std::optional<Hotspot> tapped;
    inputs.onHotspotTap = [&tapped](const Hotspot &h) { tapped = h; };
    auto view = showView(inputs);

    // The icon disc is near-white over a gradient that is never that bright in blue.
    const QColor pixel = centrePixel(*view);
    EXPECT_GT(pixel.blue(), 200);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(160, 120));
    ASSERT_TRUE(tapped);
    EXPECT_EQ(tapped->id, hotspot.id);

    tapped.reset();
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(tapped);
}

// A key or click anywhere in the application: the visitor starts or stops
// moving with the keyboard.
void sendAnywhere(QEvent &&event)
{
    QObject anywhere;
    QCoreApplication::sendEvent(&anywhere, &event);
}

TEST_F(PanoramaRendering, theKeyboardRingHugsARippleMarkerAsItIsDrawnNotItsHitSphere)
{
    DisplayFocusLock focus;
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    inputs.initialYaw = 0.8;
    inputs.hotspots = {navigationHotspot(0.8, 0.0)};
    inputs.hotspotStyle = HotspotStyle::haloRipple;
    inputs.showHotspotLabels = false;
    auto view = showView(inputs);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    const QRect hit = view->paintedItemRect(0);
    ASSERT_GT(hit.width(), 20);
    // The viewer's gold pixels around the marker farther than `beyond` from its centre.
    const auto goldBeyond = [&](double beyond) {
        const QImage frame = view->grabFramebuffer();
        const QColor gold = paletteGold();
        int count = 0;
        for (int y = hit.top() - 10; y <= hit.bottom() + 10; ++y) {
            for (int x = hit.left() - 10; x <= hit.right() + 10; ++x) {
                const QColor c = frame.pixelColor(x, y);
                count += std::hypot(x + 0.5 - hit.center().x(), y + 0.5 - hit.center().y()) > beyond
                         && std::abs(c.red() - gold.red()) + std::abs(c.green() - gold.green())
                                    + std::abs(c.blue() - gold.blue())
                                < 60;
            }
        }
        return count;
    };
    const double outside = hit.width() / 2.0 + 1;
    const int unringed = goldBeyond(0);
    const int unringedOutside = goldBeyond(outside);

    KeyboardFocus::isNavigating();
    sendAnywhere(QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    view->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(view->focusedPaintedItem(), 0);
    EXPECT_GT(goldBeyond(0), unringed + hit.width()) << "a ring round the marker";
    EXPECT_EQ(goldBeyond(outside), unringedOutside) << "none of it outside the hit sphere";
    sendAnywhere(QMouseEvent(QEvent::MouseButtonPress, QPointF(), QPointF(), Qt::LeftButton, Qt::LeftButton, {}));
}

TEST_F(PanoramaRendering, jpegPhotoShowsThroughTheBandDecoder)
{
    const QString path = m_dir.filePath(QStringLiteral("gradient.jpg"));
    ASSERT_TRUE(gradientPhoto(2400, 1200).save(path, "JPEG", 95));
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = QUrl::fromLocalFile(path);
    inputs.initialYaw = 0.3;
    inputs.initialPitch = -0.45;
    auto view = showView(inputs);
    const QColor pixel = centrePixel(*view);
    EXPECT_NEAR(pixel.red(), SphereTextureMapping::photoColumn(0.3) * 255.0, 6.0);
    EXPECT_NEAR(pixel.green(), SphereTextureMapping::photoRow(-0.45) * 255.0, 6.0);
    // Decoded once, into the shared image cache.
    EXPECT_FALSE(m_cache->lookup(inputs.imageURL).isNull());
}

class PanoramaMissingPhoto : public PanoramaRendering, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(PanoramaMissingPhoto, fadesInThePlaceholder)
{
    // A header claiming more pixels than any decode may hold counts as no photo.
    HostilePhotos::write(m_dir.filePath(QStringLiteral("absurd.jpg")), HostilePhotos::jpegClaiming({20000, 20000}, true));
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = QUrl::fromLocalFile(m_dir.filePath(QString::fromLatin1(GetParam())));
    const PeakResident peak;
    auto view = showView(inputs);
    // A view of its own costs some; the claimed photo would take gigabytes.
    EXPECT_LT(peak.growthMiB(), 256);
    const QColor pixel = centrePixel(*view);
    EXPECT_NEAR(pixel.red(), 38, 2);
    EXPECT_NEAR(pixel.green(), 38, 2);
    EXPECT_DOUBLE_EQ(view->sphere().opacity(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Files, PanoramaMissingPhoto, ::testing::Values("missing.jpg", "absurd.jpg"));

// The black cover of a station change, drawn in the view's own frame: it
// darkens the picture in proportion, and at full black nothing shows through.
TEST_F(PanoramaRendering, coverDarkensThePictureInProportionUpToFullBlack)
{
    QImage flat(1024, 512, QImage::Format_RGB32);
    flat.fill(QColor(200, 160, 120));
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = writePhoto(m_dir, QStringLiteral("flat.png"), flat);
    auto view = showView(inputs);
    for (const double cover : {0.0, 0.25, 0.5, 1.0, 0.0}) {
        view->setCoverOpacity(cover);
        const QColor pixel = centrePixel(*view);
        EXPECT_NEAR(pixel.red(), 200 * (1 - cover), 3) << cover;
        EXPECT_NEAR(pixel.green(), 160 * (1 - cover), 3) << cover;
        EXPECT_NEAR(pixel.blue(), 120 * (1 - cover), 3) << cover;
    }
}

TEST_F(PanoramaRendering, pairOfViewsSharesOneTextureAndACachedResetFadesFromPointThree)
{
    // Two views side by side in one window, as in the viewer's VR mode.
    QWidget window;
    window.resize(402, 200);
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    inputs.hideHotspots = true;
    auto *left = new Panorama360ViewerView(inputs, m_cache, &window);
    auto *right = new Panorama360ViewerView(inputs, m_cache, &window);
    left->setGeometry(0, 0, 200, 200);
    right->setGeometry(202, 0, 200, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(waitForPhoto(*left));
    ASSERT_TRUE(waitForPhoto(*right));
    const auto textureOf = [](Panorama360ViewerView &view) {
        return view.sphere().geometry()->firstMaterial().texture->glTextureId();
    };
    EXPECT_NE(textureOf(*left), 0u);
    EXPECT_EQ(textureOf(*left), textureOf(*right));

    // A reset of the view on the cached photo that is still on the GPU.
    const SceneNode *sphere = &right->sphere();
    right->scene().clock().setTime(100.0);
    inputs.resetViewTrigger = 1;
    right->setInputs(inputs);
    EXPECT_DOUBLE_EQ(sphere->opacity(), 0.3);
    right->scene().clock().setTime(100.1);
    right->scene().advance();
    EXPECT_GT(sphere->opacity(), 0.3);
    EXPECT_LT(sphere->opacity(), 1.0);
    right->scene().clock().setTime(100.2);
    right->scene().advance();
    EXPECT_DOUBLE_EQ(sphere->opacity(), 1.0);
    // The same trigger again resets nothing.
    right->setInputs(inputs);
    EXPECT_DOUBLE_EQ(sphere->opacity(), 1.0);
}

// What the sphere showed at each turn of the event loop while a photo came in.
struct SphereSample
{
    std::shared_ptr<SceneTexture> texture;
    bool complete;
    double opacity;
    SceneVector angles;
};

std::vector<SphereSample> watchUntilLoaded(Panorama360ViewerView &view)
{
    std::vector<SphereSample> samples;
    const SceneNode &sphere = view.sphere();
    const auto sample = [&] {
        const std::shared_ptr<SceneTexture> texture = sphere.geometry()->firstMaterial().texture;
        samples.push_back({texture, texture && texture->isComplete(), sphere.opacity(), sphere.eulerAngles()});
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, sample);
    poll.start(0);
    EXPECT_TRUE(waitForPhoto(view, 20000));
    sample();
    return samples;
}

class DecodedPhotoNotOnTheGpu : public PanoramaRendering, public ::testing::WithParamInterface<int>
{
};

TEST_P(DecodedPhotoNotOnTheGpu, keepsTheOldPhotoUntilTheNewOneCanShowThenFadesFromPointThree)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    auto view = showView(inputs);
    const SceneNode &sphere = view->sphere();
    const std::shared_ptr<SceneTexture> old = sphere.geometry()->firstMaterial().texture;
    view->scene().clock().setTime(100.0);
    view->scene().advance();

    // Decoded by the viewer's preloading: in the image cache, not on the GPU.
    const QUrl next = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("preloaded.jpg")));
    m_cache->store(next, gradientPhoto(GetParam(), GetParam() / 2));
    inputs.imageURL = next;
    inputs.initialYaw = 0.5;
    view->setInputs(inputs);
    EXPECT_EQ(sphere.geometry()->firstMaterial().texture, old);
    EXPECT_DOUBLE_EQ(sphere.opacity(), 1.0);
    EXPECT_FALSE(sphere.hasAction(QStringLiteral("fade")));

    const std::vector<SphereSample> samples = watchUntilLoaded(*view);
    for (const SphereSample &sample : samples) {
        ASSERT_TRUE(sample.texture) << "never black";
        if (sample.texture == old) {
            EXPECT_DOUBLE_EQ(sample.opacity, 1.0);
        } else {
            // The clock stands still: the cached path's fade starts at 0.3.
            EXPECT_DOUBLE_EQ(sample.opacity, 0.3);
            EXPECT_NEAR(sample.angles.y, 0.5 - pi, 1e-12);
        }
    }
    EXPECT_TRUE(samples.back().complete);
    view->scene().clock().setTime(100.2);
    view->scene().advance();
    EXPECT_DOUBLE_EQ(sphere.opacity(), 1.0);
}

// Without a preview (a small photo) and with one made from the decoded photo.
INSTANTIATE_TEST_SUITE_P(Widths, DecodedPhotoNotOnTheGpu, ::testing::Values(2400, 4096));

// Whether the photo is on the GPU whole in the view's context group, as its
// texture store tells a request for it at once; a request that finds the
// photo on its way only joins that upload, and is dropped here.
bool onTheGpu(Panorama360ViewerView &view, const QUrl &url, const std::shared_ptr<LumivaneImageCache> &cache)
{
    view.makeCurrent();
    const std::shared_ptr<PanoramaTextureStore> store = PanoramaTextureStore::forContext(view.context());
    view.doneCurrent();
    QObject receiver;
    bool whole = false;
    store->load(url, cache->lookup(url), cache, &receiver,
                [&whole](const PanoramaTextureStore::Photo &photo) { whole = photo.done && photo.texture; });
    return whole;
}

TEST_F(PanoramaRendering, aPhotoAskedForEarlierThatComesLateIsDroppedAndTheSphereEndsOpaque)
{
    const auto flat = [](QColor colour) {
        QImage image(1024, 512, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    };
    const QUrl earlier = writePhoto(m_dir, QStringLiteral("red.png"), flat(QColor(220, 40, 40)));
    // Decoded by the viewer's preloading: it needs no decoding thread.
    const QUrl later = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("blue.png")));
    m_cache->store(later, flat(QColor(40, 60, 220)));
    Panorama360ViewerView::Inputs inputs;
    auto view = showView(inputs);
    // Every decoding thread is busy: the earlier photo comes only after the later one.
    QThreadPool *pool = LumivaneImageCache::pool();
    QSemaphore busy;
    occupyDecodingThreads(busy);
    inputs.imageURL = earlier;
    view->setInputs(inputs);
    inputs.imageURL = later;
    inputs.initialYaw = 1.0;
    view->setInputs(inputs);
    const bool laterShown = waitForPhoto(*view);
    busy.release(pool->maxThreadCount());
    ASSERT_TRUE(laterShown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return onTheGpu(*view, earlier, m_cache); }, 10000));

    view->scene().clock().setTime(view->scene().clock().now() + 5.0);
    view->grabFramebuffer();
    EXPECT_DOUBLE_EQ(view->sphere().opacity(), 1.0);
    EXPECT_NEAR(view->sphere().eulerAngles().y, 1.0 - pi, 1e-12);
    const QColor pixel = centrePixel(*view);
    EXPECT_NEAR(pixel.red(), 40, 4);
    EXPECT_NEAR(pixel.blue(), 220, 4);
}

TEST_F(PanoramaRendering, thePhotoThatComesNextIsPutOnTheGpuAheadAndShowsAtOnceWhenItComes)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    auto view = showView(inputs);
    const std::shared_ptr<SceneTexture> old = view->sphere().geometry()->firstMaterial().texture;
    view->scene().clock().setTime(100.0);
    view->scene().advance();

    const QUrl next = writePhoto(m_dir, QStringLiteral("next.png"), gradientPhoto(1024, 512));
    inputs.arrivingImageURL = next;
    view->setInputs(inputs);
    // Read and uploaded while the view goes on showing its photo.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_cache->lookup(next).isNull(); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return onTheGpu(*view, next, m_cache); }, 10000));
    EXPECT_EQ(view->sphere().geometry()->firstMaterial().texture, old);
    EXPECT_DOUBLE_EQ(view->sphere().opacity(), 1.0);
    EXPECT_FALSE(view->isLoadingPhoto());

    inputs.imageURL = next;
    inputs.arrivingImageURL = QUrl();
    inputs.initialYaw = 0.5;
    view->setInputs(inputs);
    // At once, like any photo on the GPU: turned, fading in from 0.3.
    EXPECT_FALSE(view->isLoadingPhoto());
    const std::shared_ptr<SceneTexture> shown = view->sphere().geometry()->firstMaterial().texture;
    ASSERT_NE(shown, old);
    EXPECT_TRUE(shown->isComplete());
    EXPECT_DOUBLE_EQ(view->sphere().opacity(), 0.3);
    EXPECT_NEAR(view->sphere().eulerAngles().y, 0.5 - pi, 1e-12);
    view->scene().clock().setTime(105.0);
    EXPECT_NEAR(centrePixel(*view).red(), SphereTextureMapping::photoColumn(0.5) * 255.0, 4.0);
}

TEST_F(PanoramaRendering, largeJpegComesInFromItsPreviewWithoutATurnOrAFadeStartingOver)
{
    const QString path = m_dir.filePath(QStringLiteral("large.jpg"));
    ASSERT_TRUE(gradientPhoto(4096, 2048).save(path, "JPEG", 95));
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    auto view = showView(inputs);
    inputs.imageURL = QUrl::fromLocalFile(path);
    inputs.initialYaw = 0.3;
    inputs.initialPitch = -0.2;
    view->setInputs(inputs);

    const std::vector<SphereSample> samples = watchUntilLoaded(*view);
    const auto first = std::find_if(samples.cbegin(), samples.cend(), [&samples](const SphereSample &sample) {
        return sample.texture != samples.front().texture;
    });
    ASSERT_NE(first, samples.cend());
    for (auto sample = first; sample != samples.cend(); ++sample) {
        EXPECT_EQ(sample->angles, (SceneVector{0.2, 0.3 - pi, 0.0}));
        if (sample != first) {
            EXPECT_GE(sample->opacity, std::prev(sample)->opacity);
        }
    }
    EXPECT_TRUE(samples.back().complete);
    view->scene().clock().setTime(view->scene().clock().now() + 5.0);
    const QColor pixel = centrePixel(*view);
    EXPECT_NEAR(pixel.red(), SphereTextureMapping::photoColumn(0.3) * 255.0, 6.0);
    EXPECT_NEAR(pixel.green(), SphereTextureMapping::photoRow(-0.2) * 255.0, 6.0);
}

struct SeamCase
{
    int width;
    int height;
    double pitch; // the view looks along a strip edge
};

class PanoramaSeams : public PanoramaRendering, public ::testing::WithParamInterface<SeamCase>
{
};

TEST_P(PanoramaSeams, noPixelAlongTheStripEdgesIsDarkerThanAFlatPhotoUnderMultisampling)
{
    const QColor colour(200, 170, 140);
    QImage flat(GetParam().width, GetParam().height, QImage::Format_RGB32);
    flat.fill(colour);
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = writePhoto(m_dir, QStringLiteral("flat.png"), flat);
    inputs.initialPitch = GetParam().pitch;
    auto view = showView(inputs);
    ASSERT_GT(view->sphere().geometry()->firstMaterial().texture->strips().size(), 2u);
    const QImage frame = view->grabFramebuffer();
    int darker = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QColor pixel = frame.pixelColor(x, y);
            if (pixel.red() < colour.red() - 3 || pixel.green() < colour.green() - 3 || pixel.blue() < colour.blue() - 3)
                ++darker;
        }
    }
    EXPECT_EQ(darker, 0);
}

// Strips of 512 rows: edges at every 45 degrees of pitch for 2048 rows,
// and at 13.2 and -63.6 degrees for 1200 rows.
INSTANTIATE_TEST_SUITE_P(Edges, PanoramaSeams,
                         ::testing::Values(SeamCase{4096, 2048, 0.0}, SeamCase{4096, 2048, pi / 4},
                                           SeamCase{2400, 1200, 0.2304}, SeamCase{2400, 1200, -1.11}),
                         [](const auto &info) {
                             return caseName(QStringLiteral("%1x%2 pitch %3")
                                                 .arg(info.param.width)
                                                 .arg(info.param.height)
                                                 .arg(info.param.pitch));
                         });

TEST_F(PanoramaRendering, closingTheLastViewFreesItsPhotoTexturesInTheSharedGroup)
{
    // The window's own context keeps the group alive after every view is gone.
    QWidget window;
    window.resize(200, 200);
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    inputs.hideHotspots = true;
    auto *view = new Panorama360ViewerView(inputs, m_cache, &window);
    view->setGeometry(0, 0, 200, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(waitForPhoto(*view));
    std::vector<unsigned> ids;
    for (const SceneTexture::Strip &strip : view->sphere().geometry()->firstMaterial().texture->strips())
        ids.push_back(strip.glTextureId);
    ASSERT_FALSE(ids.empty());
    delete view;

    // A later view in the same group finds none of them.
    inputs.imageURL = QUrl();
    auto *later = new Panorama360ViewerView(inputs, m_cache, &window);
    later->setGeometry(0, 0, 200, 200);
    later->show();
    ASSERT_TRUE(QTest::qWaitFor([later] { return later->context() && later->context()->isValid(); }));
    later->makeCurrent();
    for (unsigned id : ids)
        EXPECT_FALSE(later->context()->functions()->glIsTexture(id)) << "texture " << id;
    later->doneCurrent();
}

TEST_F(PanoramaRendering, closingAViewDoesNotWaitForItsQueuedDecode)
{
    // Every decoding thread is busy: the view's decode waits in the queue.
    QThreadPool *pool = LumivaneImageCache::pool();
    QSemaphore busy;
    occupyDecodingThreads(busy);
    QSemaphore closed;
    std::atomic<bool> rescued = false;
    // Frees the pool once the view is closed, or after a while should
    // closing wait for the queue.
    std::thread rescue([&busy, &closed, &rescued, pool] {
        rescued = !closed.tryAcquire(1, 5000);
        busy.release(pool->maxThreadCount());
    });

    Panorama360ViewerView::Inputs inputs;
    auto view = std::make_unique<Panorama360ViewerView>(inputs, m_cache);
    view->resize(200, 200);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    inputs.imageURL = writePhoto(m_dir, QStringLiteral("queued.png"), gradientPhoto(256, 128));
    view->setInputs(inputs);
    EXPECT_TRUE(view->isLoadingPhoto());
    view.reset();
    closed.release();
    rescue.join();
    EXPECT_FALSE(rescued);
    pool->waitForDone();
}

TEST_F(PanoramaRendering, viewsClosedAtAnyMomentOfABandUploadLeaveTheOthersWorking)
{
    const QString path = m_dir.filePath(QStringLiteral("large.jpg"));
    ASSERT_TRUE(gradientPhoto(3000, 1500).save(path, "JPEG", 90));
    QWidget window;
    window.resize(200, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int delayMs : {0, 5, 20, 60, 150}) {
        SCOPED_TRACE(delayMs);
        m_cache->emptyFullImageStore();
        Panorama360ViewerView::Inputs inputs;
        auto *view = new Panorama360ViewerView(inputs, m_cache, &window);
        view->setGeometry(0, 0, 200, 200);
        view->show();
        ASSERT_TRUE(QTest::qWaitFor([view] { return view->context() && view->context()->isValid(); }));
        inputs.imageURL = QUrl::fromLocalFile(path);
        view->setInputs(inputs);
        QTest::qWait(delayMs);
        delete view;
    }
    LumivaneImageCache::pool()->waitForDone();
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    auto *view = new Panorama360ViewerView(inputs, m_cache, &window);
    view->setGeometry(0, 0, 200, 200);
    view->show();
    EXPECT_TRUE(waitForPhoto(*view));
    EXPECT_FALSE(view->sphere().geometry()->firstMaterial().texture->strips().empty());
}

TEST_F(PanoramaRendering, viewMovedToAWindowOfAnotherContextGroupUploadsItsPhotoThere)
{
    QWidget first;
    QWidget second;
    for (QWidget *window : {&first, &second}) {
        window->resize(320, 240);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = m_photo;
    inputs.initialYaw = 0.4;
    auto *view = new Panorama360ViewerView(inputs, m_cache, &first);
    view->setGeometry(0, 0, 320, 240);
    view->show();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->context() && view->context()->isValid(); }));
    ASSERT_TRUE(waitForPhoto(*view));
    QOpenGLContextGroup *firstGroup = view->context()->shareGroup();

    view->setParent(&second);
    view->setGeometry(0, 0, 320, 240);
    view->show();
    ASSERT_TRUE(QTest::qWaitFor([view, firstGroup] {
        return view->context() && view->context()->isValid() && view->context()->shareGroup() != firstGroup;
    }));
    const auto &texture = view->sphere().geometry()->firstMaterial().texture;
    if (view->isLoadingPhoto()) {
        EXPECT_FALSE(texture) << "no texture of the first group is drawn in the second";
    }
    ASSERT_TRUE(waitForPhoto(*view));
    view->scene().clock().setTime(view->scene().clock().now() + 5.0);
    EXPECT_NEAR(centrePixel(*view).red(), SphereTextureMapping::photoColumn(0.4) * 255.0, 4.0);
}

TEST_F(PanoramaRendering, wheelOverAnOverlayZoomsAndStillReachesTheOverlay)
{
    struct Overlay : QWidget
    {
        using QWidget::QWidget;
        int wheels = 0;
        void wheelEvent(QWheelEvent *event) override
        {
            ++wheels;
            event->accept();
        }
    };
    QWidget window;
    window.resize(400, 300);
    Panorama360ViewerView::Inputs inputs;
    auto *view = new Panorama360ViewerView(inputs, m_cache, &window);
    view->setGeometry(0, 0, 400, 300);
    // A second view in the same window, as in the viewer's VR pair.
    auto *twin = new Panorama360ViewerView(inputs, m_cache, &window);
    twin->setGeometry(300, 200, 100, 100);
    auto *overlay = new Overlay(&window);
    overlay->setGeometry(50, 50, 100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QWheelEvent wheel(QPointF(10, 10), overlay->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, 240), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(overlay, &wheel);
    EXPECT_EQ(overlay->wheels, 1);
    EXPECT_DOUBLE_EQ(view->scene().pointOfView()->camera()->fieldOfView(), 75.0 - 4.0);
    EXPECT_DOUBLE_EQ(twin->scene().pointOfView()->camera()->fieldOfView(), 75.0 - 4.0);

    // A background panorama takes no input at all.
    inputs.interactive = false;
    inputs.fov = 71.0;
    view->setInputs(inputs);
    QApplication::sendEvent(overlay, &wheel);
    EXPECT_EQ(overlay->wheels, 2);
    EXPECT_DOUBLE_EQ(view->scene().pointOfView()->camera()->fieldOfView(), 71.0);

    // Another window of the application: no zoom.
    inputs.interactive = true;
    view->setInputs(inputs);
    Overlay elsewhere;
    QApplication::sendEvent(&elsewhere, &wheel);
    EXPECT_DOUBLE_EQ(view->scene().pointOfView()->camera()->fieldOfView(), 71.0);
}

} // namespace
