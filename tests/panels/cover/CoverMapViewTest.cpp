#include "TestTileServer.h"

#include "panels/cover/CoverMapView.h"
#include "panels/cover/MapPainting.h"
#include "panels/cover/MapTileSource.h"

#include "l10n/L10n.h"
#include "tests/support/TemporarySettings.h"

#include <QAbstractButton>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

QStringList capturedMessages;

void captureMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        capturedMessages << message;
}

class CoverMapViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.listen());
        QSettings().setValue(QLatin1String(MapTileSource::templateSettingsKey), m_server.urlTemplate());
        capturedMessages.clear();
        m_previousHandler = qInstallMessageHandler(captureMessage);
    }

    void TearDown() override { qInstallMessageHandler(m_previousHandler); }

    std::unique_ptr<CoverMapView> shownCard()
    {
        LumivaneProject project;
        project.name = QStringLiteral("Villa Lumière");
        project.address = QStringLiteral("12 rue des Lilas, Paris");
        project.locationLatitude = 48.8566;
        project.locationLongitude = 2.3522;
        project.locationZoom = 15;
        auto card = std::make_unique<CoverMapView>(*coverLocation(project), MapTileSource::configuredTemplate(), m_l10n);
        card->resize(CoverMapView::maxCardWidth, CoverMapView::cardHeight);
        card->show();
        return card;
    }

    // The colour the test server gives the tile under a point of the card.
    static QRgb expectedTileColour(const CoverMapView &card, QPointF point)
    {
        const MapCamera &camera = card.camera();
        const QPointF world = camera.worldPointAt(point, QSizeF(card.size()));
        const int z = tileZoomFor(camera);
        return TestTileServer::tileColour(z, int(world.x() * (1 << z)), int(world.y() * (1 << z))).rgb();
    }

    static QRgb pixel(CoverMapView &card, QPoint point) { return card.grab().toImage().pixel(point); }

    /// The tiles the disk cache holds (those it is still writing excluded).
    static qsizetype tilesOnDisk()
    {
        const QDir cache(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
        QDirIterator files(cache.filePath("map-tiles"), {QStringLiteral("*.d")}, QDir::Files,
                           QDirIterator::Subdirectories);
        qsizetype count = 0;
        while (files.hasNext())
            count += !files.next().contains(QLatin1String("/prepared/"));
        return count;
    }

    TemporarySettings m_settings;
    TestTileServer m_server;
    L10n m_l10n{QStringList{}};
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(CoverMapViewTest, FetchesTilesPolitelyAndKeepsThemOnDisk)
{
    m_server.replyDelayMs = 40;
    auto card = shownCard();
    const QPoint probe(30, 30);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pixel(*card, probe) == expectedTileColour(*card, probe); }, 10000));
    const qsizetype visible = visibleTiles(card->camera(), QSizeF(card->size())).size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.paths.size() >= visible && m_server.openRequests == 0; }, 10000));
    EXPECT_EQ(m_server.paths.size(), visible);

    EXPECT_LE(m_server.mostOpenRequests, MapTileSource::maxRequestsInFlight);
    const QString level = QStringLiteral("/%1/").arg(tileZoomFor(card->camera()));
    for (const QString &path : m_server.paths)
        EXPECT_TRUE(path.startsWith(level)) << qPrintable(path);
    for (const QString &agent : m_server.userAgents)
        EXPECT_TRUE(agent.startsWith(QCoreApplication::applicationName() + QLatin1Char('/'))) << qPrintable(agent);
    const auto labels = card->findChildren<QLabel *>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first()->text(), QStringLiteral("© OpenStreetMap contributors"));
    EXPECT_TRUE(labels.first()->isVisible());

    // A second card, as after returning to the cover, is served from the disk
    // cache, once the first has taken in every answer the server sent.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tilesOnDisk() == visible; }, 10000));
    const qsizetype served = m_server.paths.size();
    card.reset();
    auto again = shownCard();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pixel(*again, probe) == expectedTileColour(*again, probe); }, 10000));
    EXPECT_EQ(m_server.paths.size(), served);
    EXPECT_TRUE(capturedMessages.isEmpty()) << qPrintable(capturedMessages.join('\n'));
}

TEST_F(CoverMapViewTest, WithoutTilesDrawsGraticuleAndPinSilently)
{
    m_server.stop();
    auto card = shownCard();
    QTest::qWait(500);
    const QImage image = card->grab().toImage();
    // The top-left corner holds only ground and graticule: neither pin, nor
    // title, nor controls, nor the credit.
    const QColor ground(236, 232, 224);
    int lines = 0;
    for (int y = 14; y < 80; ++y) {
        for (int x = 14; x < 150; ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool between = c.red() >= 212 && c.red() <= 236 && c.green() >= 205 && c.green() <= 232;
            EXPECT_TRUE(between) << x << "," << y;
            lines += c != ground;
        }
    }
    EXPECT_GT(lines, 60);
    int pin = 0;
    for (int y = 40; y < 100; ++y) {
        for (int x = 190; x < 230; ++x) {
            const QColor c = image.pixelColor(x, y);
            pin += c.red() > 200 && c.green() < 100 && c.blue() < 100;
        }
    }
    EXPECT_GT(pin, 100);
    EXPECT_TRUE(capturedMessages.isEmpty()) << qPrintable(capturedMessages.join('\n'));

    // The server coming back is noticed only when tiles are wanted again
    // after a pause; until then nothing is asked for in a loop.
    EXPECT_LE(m_server.paths.size(), 0);
}

TEST_F(CoverMapViewTest, VisitorsViewSurvivesResizes)
{
    auto card = shownCard();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(card.get()));
    const MapCamera fitted = card->camera();

    QTest::mousePress(card.get(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(card.get(), QPoint(140, 80));
    QTest::mouseRelease(card.get(), Qt::LeftButton, {}, QPoint(160, 70));
    EXPECT_NE(card->camera().centre, fitted.centre);

    QWheelEvent wheel(QPointF(200, 90), card->mapToGlobal(QPointF(200, 90)), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(card.get(), &wheel);
    EXPECT_NEAR(card->camera().zoom, fitted.zoom + 1, 1e-9);
    EXPECT_TRUE(wheel.isAccepted());

    QTest::mousePress(card.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(310, 90));
    QTest::mouseMove(card.get(), QPoint(210, 190));
    QTest::mouseRelease(card.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(210, 190));
    EXPECT_NEAR(card->camera().rotation, 90, 1e-6);

    const auto buttons = card->findChildren<QAbstractButton *>(); // zoom in, zoom out, compass
    ASSERT_EQ(buttons.size(), 3);
    const MapCamera before = card->camera();
    card->resize(260, CoverMapView::cardHeight);
    card->resize(CoverMapView::maxCardWidth, CoverMapView::cardHeight);
    EXPECT_EQ(card->camera().centre, before.centre);
    EXPECT_EQ(card->camera().zoom, before.zoom);
    EXPECT_EQ(card->camera().rotation, before.rotation);

    // The compass shows while the map is turned and turns it back to north.
    QAbstractButton *compass = buttons.at(2);
    ASSERT_TRUE(compass->isVisible());
    QTest::mouseClick(compass, Qt::LeftButton);
    EXPECT_EQ(card->camera().rotation, 0);
    EXPECT_FALSE(compass->isVisible());
    QTest::mouseClick(buttons.at(0), Qt::LeftButton);
    EXPECT_NEAR(card->camera().zoom, before.zoom + 1, 1e-9);
}

} // namespace
