#include "media/images/KenBurnsMotion.h"
#include "media/images/LumivaneClassicViewer.h"
#include "media/images/LumivaneImageCache.h"

#include "l10n/L10n.h"

#include <QHash>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <set>

namespace {

Station station(const QString &name)
{
    Station result;
    result.id = QUuid::createUuid();
    result.name = name;
    return result;
}

QImage filled(QColor color, QSize size = QSize(200, 100))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

class ClassicViewerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_stations = {station("Salon"), station("Cuisine"), station("Jardin")};
        m_viewer.resize(200, 100);
        m_viewer.clock().setTime(100.0);
        m_inputs.photoURLResolver = [this](const QUuid &id) -> std::optional<QUrl> {
            const auto found = m_urls.constFind(id);
            return found == m_urls.constEnd() ? std::nullopt : std::optional(found.value());
        };
    }

    void show(const QList<Station> &stations)
    {
        m_inputs.stations = stations;
        m_viewer.setInputs(m_inputs);
    }

    void showIndex(int index, double animationSeconds = 0)
    {
        m_inputs.currentIndex = index;
        m_inputs.animationSeconds = animationSeconds;
        m_viewer.setInputs(m_inputs);
    }

    void advance(double seconds) { m_viewer.clock().advance(seconds); }

    // Puts a photo for the station straight into the full-image store.
    void cachePhoto(const Station &s, const QImage &image, const QString &file)
    {
        const QUrl url = QUrl::fromLocalFile("/nonexistent/" + file);
        m_urls.insert(s.id, url);
        m_cache->store(url, image);
    }

    // Writes the station's photo as a JPEG file and shows the station: the
    // photo is decoded in the background.
    void showPhotoFile(int index, const QImage &image)
    {
        const QString path = m_dir.filePath(QStringLiteral("%1.jpg").arg(index));
        ASSERT_TRUE(image.save(path, "JPG"));
        m_urls.insert(m_stations[index].id, QUrl::fromLocalFile(path));
        show(m_stations);
        showIndex(index);
    }

    QColor pixel(int x, int y) { return m_viewer.grab().toImage().pixelColor(x, y); }

    std::shared_ptr<LumivaneImageCache> m_cache = LumivaneImageCache::create({10, 64 << 20, 16 << 20});
    L10n m_l10n{{QStringLiteral("en")}};
    LumivaneClassicViewer::Inputs m_inputs;
    LumivaneClassicViewer m_viewer{{}, m_cache, m_l10n};
    QList<Station> m_stations;
    QHash<QUuid, QUrl> m_urls;
    QTemporaryDir m_dir;
};

class ClassicViewerIndex : public ClassicViewerTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(ClassicViewerIndex, OutOfRangeShowsTheNoPhotoTextOnBlack)
{
    show(m_stations);
    showIndex(GetParam());
    EXPECT_FALSE(m_viewer.shownStationID());
    const QImage shot = m_viewer.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::black));
    bool text = false;
    for (int x = 0; x < shot.width() && !text; ++x)
        text = shot.pixelColor(x, 50).lightness() > 40;
    EXPECT_TRUE(text);
}

INSTANTIATE_TEST_SUITE_P(Indices, ClassicViewerIndex, ::testing::Values(-1, 3, 42));

TEST_F(ClassicViewerTest, EmptyListShowsNoStation)
{
    showIndex(0);
    EXPECT_FALSE(m_viewer.shownStationID());
}

TEST_F(ClassicViewerTest, ShowsTheCurrentStationsPhotoFitted)
{
    cachePhoto(m_stations[1], filled(Qt::red, QSize(100, 100)), "red.jpg");
    m_inputs.style = ClassicTransitionStyle::fade;
    show(m_stations);
    showIndex(1);
    EXPECT_EQ(m_viewer.shownStationID(), m_stations[1].id);
    EXPECT_FALSE(m_viewer.kenBurnsFrame());
    EXPECT_EQ(pixel(100, 50), QColor(Qt::red));
    EXPECT_EQ(pixel(20, 50), QColor(Qt::black)); // beside the fitted square
}

TEST_F(ClassicViewerTest, APhotoLargerThanTheScreenIsDecodedNoLargerThanItIsShown)
{
    showPhotoFile(0, filled(Qt::darkGreen, QSize(3000, 1500)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_viewer.shownImage().isNull(); }, 5000));
    // The whole screen at the motion's closest zoom, which the wide photo fills across.
    const QSize bound = LumivaneClassicViewer::photoBound(*m_viewer.screen());
    ASSERT_LT(bound.width(), 3000);
    EXPECT_EQ(m_viewer.shownImage().size(), QSize(bound.width(), bound.width() / 2));
}

TEST_F(ClassicViewerTest, MissingPhotoShowsBlackWithoutMotion)
{
    show(m_stations);
    EXPECT_EQ(m_viewer.shownStationID(), m_stations[0].id);
    EXPECT_TRUE(m_viewer.shownImage().isNull());
    advance(4);
    EXPECT_DOUBLE_EQ(m_viewer.kenBurnsFrame()->scale, 1.0);
    EXPECT_EQ(pixel(100, 50), QColor(Qt::black));
}

TEST_F(ClassicViewerTest, KenBurnsZoomsAndDriftsOverEightSeconds)
{
    cachePhoto(m_stations[0], filled(Qt::blue), "blue.jpg");
    show(m_stations);
    const QPoint drift = KenBurnsMotion::drift(m_stations[0].id);
    const auto at = [&](double seconds) {
        m_viewer.clock().setTime(100.0 + seconds);
        return *m_viewer.kenBurnsFrame();
    };
    EXPECT_DOUBLE_EQ(at(0).scale, 1.0);
    EXPECT_DOUBLE_EQ(at(0).offsetX, 0.0);
    EXPECT_NEAR(at(4).scale, 1.09, 1e-9);
    EXPECT_NEAR(at(4).offsetX, 20.0 * drift.x(), 1e-9);
    EXPECT_NEAR(at(4).offsetY, 20.0 * drift.y(), 1e-9);
    EXPECT_NEAR(at(2).scale, 1.0 + 0.18 * KenBurnsMotion::easeInOut(0.25), 1e-9);
    EXPECT_LT(at(2).scale, 1.045); // eased: slower than linear at first
    EXPECT_DOUBLE_EQ(at(8).scale, 1.18);
    EXPECT_DOUBLE_EQ(at(8).offsetX, 40.0 * drift.x());
    EXPECT_DOUBLE_EQ(at(8).offsetY, 40.0 * drift.y());
    EXPECT_DOUBLE_EQ(at(30).scale, 1.18);
}

TEST_F(ClassicViewerTest, ReduceMotionKeepsThePhotoStill)
{
    QSettings().setValue(KenBurnsMotion::reduceMotionSettingsKey, true);
    cachePhoto(m_stations[0], filled(Qt::blue), "blue.jpg");
    show(m_stations);
    advance(8);
    const KenBurnsFrame frame = *m_viewer.kenBurnsFrame();
    QSettings().remove(KenBurnsMotion::reduceMotionSettingsKey);
    EXPECT_DOUBLE_EQ(frame.scale, 1.0);
    EXPECT_DOUBLE_EQ(frame.offsetX, 0.0);
    EXPECT_DOUBLE_EQ(frame.offsetY, 0.0);
}

TEST_F(ClassicViewerTest, EachStationGetsItsOwnPhotoViewEvenWithOneFile)
{
    cachePhoto(m_stations[0], filled(Qt::blue), "same.jpg");
    m_urls.insert(m_stations[1].id, m_urls.value(m_stations[0].id));
    show(m_stations);
    advance(5);
    EXPECT_GT(m_viewer.kenBurnsFrame()->scale, 1.1);
    showIndex(1);
    EXPECT_EQ(m_viewer.shownStationID(), m_stations[1].id);
    EXPECT_DOUBLE_EQ(m_viewer.kenBurnsFrame()->scale, 1.0); // the motion starts over
}

TEST_F(ClassicViewerTest, SlideMovesTheNewPhotoInFromTheTrailingEdge)
{
    cachePhoto(m_stations[0], filled(Qt::red), "red.jpg");
    cachePhoto(m_stations[1], filled(Qt::blue), "blue.jpg");
    m_inputs.style = ClassicTransitionStyle::slide;
    show(m_stations);
    showIndex(1, 1.0);
    advance(0.5); // halfway: each photo half off screen, half faded
    const QColor leaving = pixel(50, 50);
    const QColor entering = pixel(150, 50);
    EXPECT_NEAR(leaving.red(), 128, 8);
    EXPECT_EQ(leaving.blue(), 0);
    EXPECT_NEAR(entering.blue(), 128, 8);
    EXPECT_EQ(entering.red(), 0);
    advance(1.0);
    EXPECT_EQ(pixel(50, 50), QColor(Qt::blue));
}

TEST_F(ClassicViewerTest, UnanimatedChangeSwapsAtOnce)
{
    cachePhoto(m_stations[0], filled(Qt::red), "red.jpg");
    cachePhoto(m_stations[1], filled(Qt::blue), "blue.jpg");
    m_inputs.style = ClassicTransitionStyle::fade;
    show(m_stations);
    showIndex(1);
    EXPECT_EQ(pixel(100, 50), QColor(Qt::blue));
}

TEST_F(ClassicViewerTest, DecodedPhotoArrivesAndStartsTheMotion)
{
    showPhotoFile(2, filled(Qt::green, QSize(400, 200)));
    EXPECT_TRUE(m_viewer.shownImage().isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_viewer.shownImage().isNull(); }, 5000));
    advance(8);
    EXPECT_DOUBLE_EQ(m_viewer.kenBurnsFrame()->scale, 1.18);
}

TEST(ClassicViewerLifetime, DeletedWhileAPhotoDecodes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.jpg");
    ASSERT_TRUE(filled(Qt::green, QSize(3000, 1500)).save(path, "jpeg"));
    const Station only = station("Salon");
    LumivaneClassicViewer::Inputs inputs;
    inputs.photoURLResolver = [path](const QUuid &) { return std::optional(QUrl::fromLocalFile(path)); };
    inputs.stations = {only};
    L10n l10n({QStringLiteral("en")});
    auto viewer = std::make_unique<LumivaneClassicViewer>(inputs, LumivaneImageCache::create({10, 64 << 20, 16 << 20}),
                                                          l10n);
    viewer.reset();
    LumivaneImageCache::pool()->waitForDone();
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST(KenBurnsMotion, DirectionComesFromTheHashOfTheIdText)
{
    std::set<std::pair<int, int>> seen;
    int upward = 0;
    for (int i = 0; i < 300; ++i) {
        const QUuid id = QUuid::createUuid();
        const QPoint drift = KenBurnsMotion::drift(id);
        EXPECT_EQ(drift, KenBurnsMotion::drift(id)); // stable within the run
        const quint64 h = qHash(id.toString(QUuid::WithoutBraces).toUpper());
        EXPECT_EQ(drift.x(), h % 2 ? 1 : -1);
        EXPECT_EQ(drift.y(), h % 3 == 0 ? -1 : 1);
        seen.insert({drift.x(), drift.y()});
        upward += drift.y() < 0;
    }
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_GT(upward, 60);
    EXPECT_LT(upward, 140);
}

TEST(KenBurnsMotion, EaseInOutIsSymmetric)
{
    EXPECT_DOUBLE_EQ(KenBurnsMotion::easeInOut(0), 0);
    EXPECT_NEAR(KenBurnsMotion::easeInOut(0.5), 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(KenBurnsMotion::easeInOut(1), 1);
    EXPECT_NEAR(KenBurnsMotion::easeInOut(0.25) + KenBurnsMotion::easeInOut(0.75), 1.0, 1e-9);
}

} // namespace
