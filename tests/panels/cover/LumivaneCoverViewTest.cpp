#include "CoverTestTours.h"
#include "TestTileServer.h"

#include "panels/cover/CoverBackground.h"
#include "panels/cover/CoverFactChip.h"
#include "panels/cover/CoverLinkButton.h"
#include "panels/cover/CoverLogo.h"
#include "panels/cover/CoverMapView.h"
#include "panels/cover/LumivaneCoverView.h"
#include "panels/cover/MapTileSource.h"
#include "widgets/WrappingText.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"
#include "model/SystemFont.h"
#include "tests/support/DesktopUrlCapture.h"
#include "tests/support/HostilePhotos.h"
#include "tests/support/PngBytes.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/WidgetLookup.h"
#include "widgets/CapsuleButton.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <functional>

namespace {

Station station(int index)
{
    Station s;
    s.id = QUuid::createUuid();
    s.name = QStringLiteral("Pièce %1").arg(index);
    s.orderIndex = index;
    return s;
}

LumivaneProject baseProject()
{
    LumivaneProject project;
    project.id = QUuid::createUuid();
    project.name = QStringLiteral("Villa des Tilleuls");
    project.category = LocationCategory::culture;
    project.stations = {station(1), station(2)};
    return project;
}

template<typename Widget>
QList<Widget *> shown(const QWidget &view)
{
    QList<Widget *> widgets;
    for (Widget *widget : widgetsOfType<Widget>(&view)) {
        if (widget->isVisibleTo(&view))
            widgets.append(widget);
    }
    return widgets;
}

QStringList chipTexts(const QWidget &view)
{
    QStringList texts;
    for (const CoverFactChip *chip : shown<CoverFactChip>(view))
        texts << chip->text();
    return texts;
}

QStringList labelTexts(const QWidget &view)
{
    QStringList texts;
    for (const QLabel *label : shown<QLabel>(view))
        texts << label->text();
    return texts;
}

QList<CapsuleButton *> capsules(const QWidget &view)
{
    return widgetsOfType<CapsuleButton>(&view);
}

class CoverFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        // Tiles from a port nobody listens on: the map draws its own ground.
        QSettings().setValue(QLatin1String(MapTileSource::templateSettingsKey), QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png"));
        m_l10n.setCurrent(L10n::Language::english);
    }

    std::unique_ptr<LumivaneCoverView> cover(LumivaneProject project, std::function<void()> onOpenContact = {},
                                             std::optional<QUrl> photo = std::nullopt)
    {
        return std::make_unique<LumivaneCoverView>(
            LumivaneCoverView::Inputs{std::move(project), photo, [this] { ++m_launches; }, std::move(onOpenContact)},
            CoverServices{m_l10n, m_cache, [](const QUrl &url) { return QDesktopServices::openUrl(url); }});
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
    std::shared_ptr<LumivaneImageCache> m_cache =
        LumivaneImageCache::create(LumivaneImageCache::Limits{4, 256ll << 20, 128ll << 20});
    int m_launches = 0;
};

struct CoverCase
{
    const char *name;
    std::function<void(LumivaneProject &)> edit;
    QStringList chips;
    QStringList labelsShown;
    QStringList labelsAbsent;
    QStringList links;  // texts as shown
    QStringList opened; // what clicking each link hands to the desktop, in order
    bool startEnabled = true;
    bool map = false;
};

void PrintTo(const CoverCase &c, std::ostream *os)
{
    *os << c.name;
}

class CoverItems : public CoverFixture, public testing::WithParamInterface<CoverCase>
{
};

TEST_P(CoverItems, FollowTheProject)
{
    const CoverCase &c = GetParam();
    LumivaneProject project = baseProject();
    c.edit(project);
    auto view = cover(project);
    DesktopUrlCapture opened({"http", "https", "mailto", "tel"});

    EXPECT_EQ(chipTexts(*view), c.chips);
    const QStringList labels = labelTexts(*view);
    for (const QString &text : c.labelsShown)
        EXPECT_TRUE(labels.contains(text)) << qPrintable(text) << " not in " << qPrintable(labels.join(" | "));
    for (const QString &text : c.labelsAbsent)
        EXPECT_FALSE(labels.contains(text)) << qPrintable(text);

    QStringList links;
    for (CoverLinkButton *link : shown<CoverLinkButton>(*view)) {
        links << link->text();
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        link->click();
    }
    EXPECT_EQ(links, c.links);
    QStringList urls;
    for (const QUrl &url : opened.urls())
        urls << QString::fromUtf8(url.toEncoded());
    EXPECT_EQ(urls, c.opened);

    CapsuleButton *start = capsules(*view).at(0);
    EXPECT_EQ(start->isEnabled(), c.startEnabled);
    EXPECT_EQ(start->look().disabledOpacity, 0.4);
    start->click();
    EXPECT_EQ(m_launches, c.startEnabled ? 1 : 0);
    EXPECT_EQ(view->mapCard() != nullptr, c.map);
}

const QString kMadeWith = QStringLiteral("Made with Lumivane");

INSTANTIATE_TEST_SUITE_P(Cases, CoverItems, testing::Values(
    CoverCase{"noStation", [](LumivaneProject &p) { p.stations.clear(); },
              {"Culture & Heritage", "0 station"}, {kMadeWith}, {}, {}, {}, false},
    CoverCase{"oneStationWithArea", [](LumivaneProject &p) { p.stations.removeLast(); p.area = 120; },
              {"Culture & Heritage", "1 station", "120 m²"}, {}, {}, {}, {}},
    CoverCase{"decimalArea", [](LumivaneProject &p) { p.area = 12.34; },
              {"Culture & Heritage", "2 stations", "12.3 m²"}, {}, {}, {}, {}},
    CoverCase{"hugeArea", [](LumivaneProject &p) { p.area = 1e20; },
              {"Culture & Heritage", "2 stations", "100000000000000000000.0 m²"}, {}, {}, {}, {}},
    CoverCase{"descriptionFirst", [](LumivaneProject &p) { p.coverDescription = "Lumineuse"; p.freeNote = "Note"; },
              {"Culture & Heritage", "2 stations"}, {"Lumineuse"}, {"Note"}, {}, {}},
    CoverCase{"emptyDescriptionFallsBack", [](LumivaneProject &p) { p.coverDescription = ""; p.freeNote = "Note"; },
              {"Culture & Heritage", "2 stations"}, {"Note"}, {}, {}, {}},
    CoverCase{"bothEmpty", [](LumivaneProject &p) { p.coverDescription = ""; p.freeNote = ""; p.address = ""; },
              {"Culture & Heritage", "2 stations"}, {}, {""}, {}, {}},
    CoverCase{"agencyAndAddress", [](LumivaneProject &p) { p.coverAgencyName = "Horizon"; p.address = "12 rue des Lilas"; },
              {"Culture & Heritage", "2 stations"},
              {"Horizon", "12 rue des Lilas", "Horizon · Tour created with Lumivane"}, {kMadeWith}, {}, {}},
    CoverCase{"links",
              [](LumivaneProject &p) {
                  p.coverContactEmail = "agence@example.fr";
                  p.coverContactWebsite = "Example.com/visite";
                  p.coverContactPhone = "+33 (0)4.72-00 00 00";
              },
              {"Culture & Heritage", "2 stations"}, {}, {},
              {"agence@example.fr", "Example.com/visite", "+33 (0)4.72-00 00 00"},
              {"mailto:agence@example.fr", "https://example.com/visite", "tel:+330472000000"}},
    CoverCase{"schemeKept", [](LumivaneProject &p) { p.coverContactWebsite = "HTTP://example.com"; p.coverContactPhone = "appelez"; },
              {"Culture & Heritage", "2 stations"}, {}, {}, {"HTTP://example.com", "appelez"},
              {"http://example.com", "tel:"}},
    // Shown as typed, but nothing that could add headers or open a local file is handed over.
    CoverCase{"unsafeLinks",
              [](LumivaneProject &p) {
                  p.coverContactEmail = "a@b.c?attach=/etc/passwd";
                  p.coverContactWebsite = "httpfoo";
              },
              {"Culture & Heritage", "2 stations"}, {}, {}, {"a@b.c?attach=/etc/passwd", "httpfoo"}, {}},
    CoverCase{"emptyFieldsHideLinks", [](LumivaneProject &p) { p.coverContactEmail = ""; p.coverAgencyName = ""; },
              {"Culture & Heritage", "2 stations"}, {kMadeWith}, {}, {}, {}},
    CoverCase{"bothCoordinates", [](LumivaneProject &p) { p.locationLatitude = 45.76; p.locationLongitude = 4.84; },
              {"Culture & Heritage", "2 stations"}, {}, {}, {}, {}, true, true},
    CoverCase{"oneCoordinate", [](LumivaneProject &p) { p.locationLatitude = 45.76; },
              {"Culture & Heritage", "2 stations"}, {}, {}, {}, {}, true, false}));

TEST_F(CoverFixture, AnEnormousAreaIsCutToFitItsChip)
{
    LumivaneProject project = baseProject();
    project.area = 1e308;
    auto view = cover(project);
    view->resize(900, 600);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    const QList<CoverFactChip *> chips = shown<CoverFactChip>(*view);
    ASSERT_EQ(chips.size(), 3);
    EXPECT_TRUE(chips[2]->text().startsWith(QStringLiteral("1000000")));
    EXPECT_TRUE(chips[2]->text().endsWith(QChar(0x2026)));
    EXPECT_TRUE(chips[2]->accessibleName().endsWith(QStringLiteral(".0 m²")));
    // A chip squeezed below its size would show its text cut at its edge.
    for (const CoverFactChip *chip : chips)
        EXPECT_EQ(chip->size(), chip->sizeHint()) << chip->text().toStdString();
}

TEST(CoverFactChipTest, ANewTextCutToTheSameShownTextStillNamesTheChip)
{
    const QString shared(400, QLatin1Char('9'));
    CoverFactChip chip;
    chip.setText(shared + QStringLiteral("1 m²"));
    const QString shown = chip.text();
    chip.setText(shared + QStringLiteral("2 m²"));
    ASSERT_EQ(chip.text(), shown);
    EXPECT_EQ(chip.accessibleName(), shared + QStringLiteral("2 m²"));
}

TEST_F(CoverFixture, ContactButtonOnlyWithItsCallbackAndItsLabel)
{
    LumivaneProject project = baseProject();
    auto without = cover(project);
    EXPECT_FALSE(capsules(*without).at(1)->isVisibleTo(without.get()));

    int contacts = 0;
    auto with = cover(project, [&contacts] { ++contacts; });
    CapsuleButton *contact = capsules(*with).at(1);
    ASSERT_TRUE(contact->isVisibleTo(with.get()));
    EXPECT_EQ(contact->text(), QStringLiteral("Contact us"));
    contact->click();
    EXPECT_EQ(contacts, 1);

    project.contactFormButtonLabel = QString();
    with->setInputs({project, std::nullopt, {}, [&contacts] { ++contacts; }});
    EXPECT_EQ(contact->text(), QString());
    project.contactFormButtonLabel = QStringLiteral("Demander une visite");
    with->setInputs({project, std::nullopt, {}, [&contacts] { ++contacts; }});
    EXPECT_EQ(contact->text(), QStringLiteral("Demander une visite"));
}

TEST_F(CoverFixture, TextsFollowTheLanguageAndTheAccentTheProject)
{
    LumivaneProject project = baseProject();
    project.brandingAccentHex = QStringLiteral("#2E7D6B");
    auto view = cover(project);
    CapsuleButton *start = capsules(*view).at(0);
    EXPECT_EQ(start->text(), QStringLiteral("Start tour"));
    EXPECT_EQ(start->accessibleName(), QStringLiteral("Start virtual tour"));
    EXPECT_EQ(start->accessibleDescription(), QStringLiteral("Starts the 2-station tour"));
    EXPECT_EQ(start->look().background, QColor(0x2E, 0x7D, 0x6B));
    ASSERT_TRUE(start->look().shadow);
    EXPECT_EQ(start->look().shadow->color.rgb(), QColor(0x2E, 0x7D, 0x6B).rgb());
    EXPECT_NEAR(start->look().shadow->color.alphaF(), 0.4, 0.01);

    m_l10n.setCurrent(L10n::Language::french);
    EXPECT_EQ(start->text(), QStringLiteral("Lancer la visite"));
    EXPECT_EQ(start->size(), start->sizeHint()); // the longer text fits
    EXPECT_EQ(chipTexts(*view).first(), QStringLiteral("Culture & Patrimoine"));
    EXPECT_EQ(chipTexts(*view).at(1), QStringLiteral("2 stations")); // fixed English words
    EXPECT_TRUE(labelTexts(*view).contains(QStringLiteral("Réalisé avec Lumivane")));

    // A colour that does not parse gives the gold, shadow included.
    project.brandingAccentHex = QStringLiteral("#C9A96");
    view->setInputs({project, std::nullopt, {}, {}});
    EXPECT_EQ(start->look().background, QColor(0xC9, 0xA9, 0x61));
}

QByteArray pngLogo()
{
    QImage image(400, 100, QImage::Format_ARGB32);
    image.fill(QColor(40, 120, 200));
    return pngBytes(image);
}

TEST_F(CoverFixture, RebuildsKeepLogoMapAndBackground)
{
    QTemporaryDir folder;
    LumivaneProject project = baseProject();
    project.renderMode = RenderMode::classic;
    project.coverLogoData = pngLogo();
    project.locationLatitude = 45.76;
    project.locationLongitude = 4.84;
    const QUrl photo = writeTestPhoto(folder, QStringLiteral("photo.jpg"), QSize(600, 400));
    auto view = cover(project, {}, photo);
    view->resize(1000, 700);
    view->show();
    CoverLogo *logo = widgetsOfType<CoverLogo>(view.get()).at(0);
    ASSERT_TRUE(QTest::qWaitFor([logo] { return !logo->isDecoding(); }));
    ASSERT_FALSE(logo->image().isNull());
    EXPECT_EQ(logo->image().size(), QSize(400, 100));
    EXPECT_LE(logo->heightForWidth(700), CoverLogo::maxHeight);
    const qint64 logoKey = logo->image().cacheKey();
    CoverMapView *map = view->mapCard();
    ASSERT_TRUE(map);
    QTest::mousePress(map, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(map, QPoint(160, 60));
    QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(160, 60));
    const MapCamera panned = map->camera();
    auto *classic = view->background()->classic();

    project.coverDescription = QStringLiteral("Nouvelle description");
    view->setInputs({project, photo, {}, {}});
    EXPECT_EQ(logo->image().cacheKey(), logoKey);
    EXPECT_EQ(view->mapCard(), map);
    EXPECT_EQ(map->camera().centre, panned.centre);
    EXPECT_EQ(view->background()->classic(), classic);
    EXPECT_TRUE(labelTexts(*view).contains(QStringLiteral("Nouvelle description")));

    // Undecodable logo bytes show nothing; another place gets a new map.
    project.coverLogoData = QByteArray("not an image");
    project.locationLatitude = -33.86;
    view->setInputs({project, photo, {}, {}});
    ASSERT_TRUE(QTest::qWaitFor([logo] { return !logo->isDecoding(); }));
    EXPECT_TRUE(logo->image().isNull());
    EXPECT_FALSE(logo->isVisibleTo(view.get()));
    ASSERT_TRUE(view->mapCard());
    EXPECT_NE(view->mapCard(), map);
}

// The cover never waits for its logo: it decodes on the pool, a logo past
// the pixels any is made with shows nothing, and the decode of bytes
// replaced meanwhile, or of a logo gone, is dropped.
TEST(CoverLogoDecode, RunsOffTheGuiThreadAndOnlyTheLastBytesShow)
{
    QWidget cover;
    auto *logo = new CoverLogo(&cover);
    const auto decodesEnd = [] {
        LumivaneImageCache::pool()->waitForDone();
        QCoreApplication::processEvents();
    };
    logo->setImageData(HostilePhotos::jpegClaiming({65500, 65500}, false));
    EXPECT_TRUE(logo->isDecoding());
    decodesEnd();
    EXPECT_TRUE(logo->image().isNull());
    EXPECT_FALSE(logo->isVisibleTo(&cover));

    logo->setImageData(pngLogo());
    logo->setImageData(std::nullopt);
    decodesEnd();
    EXPECT_TRUE(logo->image().isNull());

    // A logo removed leaves at once.
    logo->setImageData(pngLogo());
    decodesEnd();
    ASSERT_FALSE(logo->image().isNull());
    logo->setImageData(std::nullopt);
    EXPECT_TRUE(logo->image().isNull());
    EXPECT_FALSE(logo->isVisibleTo(&cover));

    logo->setImageData(pngLogo());
    delete logo;
    decodesEnd();
}

TEST_F(CoverFixture, LongTitleShrinksToThreeLines)
{
    LumivaneProject project = baseProject();
    project.name = QStringLiteral("Le très grand domaine viticole des coteaux ensoleillés de la vallée du Rhône et ses dépendances");
    auto view = cover(project);
    view->resize(900, 700);
    view->show();
    auto *title = widgetsOfType<WrappingText>(view.get()).at(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return title->width() > 0; }, 2000));
    const int size = title->fittedPixelSize();
    EXPECT_LT(size, 38);
    EXPECT_GE(size, 23);
    const double lines = title->heightForWidth(title->width()) / QFontMetricsF(systemFont(size, QFont::Bold)).lineSpacing();
    EXPECT_GT(lines, 2.5);
    EXPECT_LE(lines, 3.01);

    // A short name keeps its full size on one line.
    project.name = QStringLiteral("Villa");
    view->setInputs({project, std::nullopt, {}, {}});
    EXPECT_EQ(title->fittedPixelSize(), 38);
}

TEST_F(CoverFixture, ClosingWithWorkPendingLeavesNothingBehind)
{
    TestTileServer server;
    ASSERT_TRUE(server.listen());
    server.replyDelayMs = 300;
    QSettings().setValue(QLatin1String(MapTileSource::templateSettingsKey), server.urlTemplate());
    QTemporaryDir folder;
    LumivaneProject project = baseProject();
    project.renderMode = RenderMode::classic;
    project.locationLatitude = 45.76;
    project.locationLongitude = 4.84;
    const QUrl photo = writeTestPhoto(folder, QStringLiteral("photo.jpg"), QSize(4000, 3000));
    // Close at once, early, and once the server holds a tile request (it
    // answers only 300 ms later), while the photo is read and blurred.
    for (const int closeAfterMs : {0, 5, -1}) {
        auto view = cover(project, {}, photo);
        view->resize(1000, 700);
        view->show();
        if (closeAfterMs >= 0)
            QTest::qWait(closeAfterMs);
        else
            EXPECT_TRUE(QTest::qWaitFor([&] { return server.openRequests > 0; }, 10000));
        const int answered = server.answeredRequests;
        view.reset();
        QTest::qWait(400);
        // The card's requests end with it: the server finds them abandoned.
        EXPECT_EQ(server.answeredRequests, answered) << "a tile was sent after the cover closed";
        EXPECT_EQ(server.openRequests, 0);
    }
    EXPECT_GT(server.abandonedRequests, 0);
}

// Under the virtual display: the demo tour's cover turns its start photo.
TEST_F(CoverFixture, DemoTourShowsATurningPhotoBehindTheCover)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a display with OpenGL";
    auto tour = unpackedSampleTour(SampleTourVariant::Demo, 2048);
    ASSERT_TRUE(tour);
    auto view = cover(tour->project, {}, tour->startPhoto);
    view->resize(1100, 720);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    Panorama360ViewerView *panorama = view->background()->panorama();
    ASSERT_TRUE(panorama);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panorama->isLoadingPhoto() && panorama->sphere().opacity() >= 1; },
                                20000));
    const auto strip = [&] {
        // A band along the left edge, beside the column: only background there.
        return view->screen()->grabWindow(view->winId(), 0, 200, 150, 300).toImage();
    };
    const auto brightPoints = [](const QImage &image) {
        int bright = 0;
        for (int y = 0; y < image.height(); y += 5) {
            for (int x = 0; x < image.width(); x += 5)
                bright += qGray(image.pixel(x, y)) > 20;
        }
        return bright;
    };
    // The drawn photo reaches the window a few frames after it is ready;
    // on a busy machine that takes a while.
    QImage before;
    EXPECT_TRUE(QTest::qWaitFor([&] { return brightPoints(before = strip()) > 100; }, 10000))
        << brightPoints(before) << " bright points";
    EXPECT_TRUE(QTest::qWaitFor([&] { return strip() != before; }, 10000)) << "the photo stands still";
}

} // namespace
