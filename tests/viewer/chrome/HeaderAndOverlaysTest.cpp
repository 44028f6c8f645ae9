#include "ChromeFixture.h"

#include "media/images/LumivaneImageCache.h"
#include "media/sound/LumivaneAudioService.h"
#include "viewer/chrome/AudioGuideButton.h"
#include "viewer/chrome/ChromeBindings.h"
#include "viewer/chrome/ClassicCaptionBand.h"
#include "viewer/chrome/ClassicInfoMarker.h"
#include "viewer/chrome/ImmersiveExitButton.h"
#include "viewer/chrome/SplashView.h"
#include "viewer/chrome/WatermarkView.h"
#include "tests/support/FlatPng.h"
#include "tests/support/HostilePhotos.h"
#include "widgets/CapsuleLabel.h"

#include <QImage>
#include <QThreadPool>
#include <QVBoxLayout>

namespace {

using HeaderTest = ChromeFixture;

TEST_F(HeaderTest, FollowsTheHistoryAndRunsItsButtons)
{
    int closes = 0;
    ViewerTour tour;
    tour.onClose = [&closes] { ++closes; };
    start(TestTours::tour(3), tour);
    HeaderBar &header = layer(new HeaderBar(language));
    bindHeaderBar(header, *controller);
    QAbstractButton *back = buttonNamed(header, "Previous");
    QAbstractButton *forward = buttonNamed(header, "Next");
    ASSERT_TRUE(back && forward);
    EXPECT_EQ(back->toolTip(), "Previous");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    CapsuleLabel *name = header.findChild<CapsuleLabel *>();
    EXPECT_EQ(name->text(), "Station 1");

    for (int station : {2, 3}) {
        controller->goToStation(TestTours::stationID(station));
        scheduler.advance(1);
    }
    ASSERT_TRUE(controller->canGoBack());
    EXPECT_TRUE(back->isEnabled());
    EXPECT_EQ(name->text(), "Station 3");
    click(back);
    scheduler.advance(1);
    EXPECT_EQ(name->text(), "Station 2");
    EXPECT_TRUE(forward->isEnabled());
    click(forward);
    scheduler.advance(1);
    EXPECT_EQ(name->text(), "Station 3");
    EXPECT_FALSE(forward->isEnabled());

    click(buttonNamed(header, "Show information"));
    EXPECT_TRUE(controller->state().showPropertyInfo);
    click(buttonNamed(header, "Close tour"));
    EXPECT_EQ(closes, 1);
}

TEST_F(HeaderTest, WithoutStationsTheNamesAreADashAndNothing)
{
    start(TestTours::tour(0));
    HeaderBar &header = layer(new HeaderBar(language));
    bindHeaderBar(header, *controller);
    KioskHeader &kiosk = layer(new KioskHeader(language));
    bindKioskHeader(kiosk, *controller);
    EXPECT_EQ(header.findChild<CapsuleLabel *>()->text(), "—");
    EXPECT_EQ(kiosk.findChild<CapsuleLabel *>()->text(), "");
}

// A station name of any length is elided on one line and never asks a
// window for more room than a screen has.
TEST_F(HeaderTest, HugeNameNeverGrowsTheWindow)
{
    LumivaneProject project = TestTours::tour(1);
    project.stations[0].name = QString(100000, u'N') + "\nsecond line";
    start(project);
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    auto *header = new HeaderBar(language);
    column->addWidget(header);
    bindHeaderBar(*header, *controller);
    EXPECT_LE(window.sizeHint().width(), 1600);
    EXPECT_LE(window.minimumSizeHint().width(), 600);
    window.resize(1000, 200);
    window.show();
    QTest::qWait(1);
    const QRect name = header->findChild<CapsuleLabel *>()->geometry();
    EXPECT_LE(name.right(), buttonNamed(*header, "Show information")->geometry().left());
    EXPECT_FALSE(header->findChild<CapsuleLabel *>()->text().contains(u'\n'));
}

struct BrandingCase
{
    const char *name;
    bool showBranding;
    std::optional<QByteArray> logo;
    std::optional<QString> agency;
    bool shown;
    int logoHeight; // 0: no logo
};

class HeaderBrandingRule : public ::testing::TestWithParam<BrandingCase>
{
};

TEST_P(HeaderBrandingRule, ShownWithALogoOrAName)
{
    const BrandingCase &c = GetParam();
    LumivaneProject project = TestTours::tour(1);
    project.showBrandingInTopbar = c.showBranding;
    project.coverLogoData = c.logo;
    project.coverAgencyName = c.agency;
    const HeaderBranding branding = headerBranding(project);
    EXPECT_EQ(branding.shown, c.shown);
    EXPECT_EQ(branding.logoData ? decodeHeaderLogo(*branding.logoData).height() : 0, c.logoHeight);
}

const BrandingCase kBrandingCases[] = {
    {"Nothing", true, std::nullopt, QString(), false, 0},
    {"NameOnly", true, std::nullopt, "Agency", true, 0},
    {"UndecodableLogo", true, QByteArray("not an image"), std::nullopt, true, 0},
    {"SmallLogo", true, flatPngBytes(QSize(40, 20), Qt::red), std::nullopt, true, 20},
    {"HugeLogoDecodedSmall", true, flatPngBytes(QSize(4000, 2000), Qt::red), "Agency", true, 66},
    // Reduced by eight, it would still cost seconds of walking its blocks.
    {"LogoClaimingMorePixelsThanAnyIsMadeWith", true, HostilePhotos::jpegClaiming({65500, 65500}, false),
     std::nullopt, true, 0},
    {"NotAsked", false, flatPngBytes(QSize(40, 20), Qt::red), "Agency", false, 0},
};

INSTANTIATE_TEST_SUITE_P(Project, HeaderBrandingRule, ::testing::ValuesIn(kBrandingCases),
                         [](const auto &info) { return std::string(info.param.name); });

// The bar shows at once and its logo once decoded on the pool; the decode
// of a branding replaced meanwhile, or of a bar gone, is dropped.
TEST_F(HeaderTest, LogoDecodesOffTheGuiThreadAndOnlyTheLastBrandingShows)
{
    const auto decodesEnd = [] {
        LumivaneImageCache::pool()->waitForDone();
        QCoreApplication::processEvents();
    };
    HeaderBar &header = layer(new HeaderBar(language));
    CapsuleLabel *branding = header.findChildren<CapsuleLabel *>().at(1);
    const HeaderBranding named{true, std::nullopt, "Agency"};
    HeaderBranding logo = named;
    logo.logoData = flatPngBytes(QSize(40, 20), Qt::red);
    header.setBranding(named);
    const int nameOnly = branding->sizeHint().width();
    header.setBranding(logo);
    EXPECT_TRUE(header.isDecodingLogo());
    EXPECT_TRUE(branding->isVisible());
    decodesEnd();
    EXPECT_GT(branding->sizeHint().width(), nameOnly);

    header.setBranding(logo);
    header.setBranding(named);
    decodesEnd();
    EXPECT_EQ(branding->sizeHint().width(), nameOnly);

    auto *gone = new HeaderBar(language);
    gone->setBranding(logo);
    delete gone;
    decodesEnd();
}

// The empty parts of a layer let the mouse through to what lies below.
TEST_F(HeaderTest, EmptyPartsLetTheMouseThrough)
{
    start(TestTours::tour(2));
    auto *below = new QWidget(&stationView);
    below->setGeometry(stationView.rect());
    HeaderBar &header = layer(new HeaderBar(language));
    bindHeaderBar(header, *controller);
    QTest::qWait(1);
    EXPECT_EQ(stationView.childAt(640, 30), below);
    EXPECT_EQ(stationView.childAt(640, 400), below);
    QAbstractButton *close = buttonNamed(header, "Close tour");
    EXPECT_EQ(stationView.childAt(close->geometry().center()), close);
}

TEST_F(HeaderTest, KioskHeaderStopsTheTourInTheAccent)
{
    LumivaneProject project = TestTours::tour(2);
    project.kioskEnabled = true;
    project.brandingAccentHex = QStringLiteral("#2E7D6B");
    start(project);
    controller->toggleKiosk();
    KioskHeader &kiosk = layer(new KioskHeader(language));
    bindKioskHeader(kiosk, *controller);
    EXPECT_EQ(kioskHeaderInputs(*controller).accent, QColor(0x2E, 0x7D, 0x6B));
    const auto *station = kiosk.findChild<CapsuleLabel *>();
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(station->text(), "Station 1");
    // The language picker's corner stays free, as in the header bar.
    HeaderBar &header = layer(new HeaderBar(language));
    const QAbstractButton *previous = buttonNamed(header, "Previous");
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(station->x(), previous->x());
    click(buttonNamed(kiosk, "Stop kiosk mode"));
    EXPECT_FALSE(controller->state().kioskActive);
}

TEST_F(HeaderTest, ImmersiveExitLeavesImmersion)
{
    start(TestTours::tour(1));
    controller->setImmersiveMode(true);
    ImmersiveExitButton &exit = layer(new ImmersiveExitButton(language));
    bindImmersiveExitButton(exit, *controller);
    QAbstractButton *button = buttonNamed(exit, "Exit immersion mode");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->toolTip(), "Exit immersion mode");
    EXPECT_EQ(button->geometry().topRight(), QPoint(stationView.width() - 16 - 1, 12));
    click(button);
    EXPECT_FALSE(controller->state().immersiveMode);
}

using OverlayTest = ChromeFixture;

TEST_F(OverlayTest, SplashHaloPulsesOnlyOnItsWayOut)
{
    open(TestTours::tour(1));
    SplashView &splash = layer(new SplashView(language));
    bindSplashView(splash, *controller);
    EXPECT_EQ(splash.accessibleName(), "Loading tour in progress");
    QTest::qWait(200);
    EXPECT_DOUBLE_EQ(splash.haloOpacity(), 0.55);
    scheduler.advance(1.2);
    ASSERT_FALSE(controller->state().showSplash);
    EXPECT_TRUE(QTest::qWaitFor([&splash] { return splash.haloOpacity() < 0.5; }, 1000));
}

TEST_F(OverlayTest, AudioGuideFollowsNarration)
{
    ViewerTour tour;
    tour.audioURLResolver = [](const QUuid &id) {
        return TestTours::stationNumber(id) == 1 ? std::optional(QUrl::fromLocalFile("/audio/1.m4a")) : std::nullopt;
    };
    start(TestTours::tour(2), tour);
    LumivaneAudioService narration;
    AudioGuideButton &guide = layer(new AudioGuideButton);
    bindAudioGuideButton(guide, *controller, narration);
    EXPECT_TRUE(audioGuideButtonShown(*controller));
    EXPECT_FALSE(guide.isPlaying());
    click(guide.findChild<QAbstractButton *>());
    EXPECT_TRUE(effects.narrationPlaying);
    emit narration.isPlayingChanged(true);
    EXPECT_TRUE(guide.isPlaying());
    emit narration.isPlayingChanged(false); // the file ended by itself
    EXPECT_FALSE(guide.isPlaying());

    controller->goToStation(TestTours::stationID(2));
    scheduler.advance(1);
    EXPECT_FALSE(audioGuideButtonShown(*controller));
}

TEST_F(OverlayTest, WatermarkShowsTrimmedTextAtItsOpacity)
{
    LumivaneProject project = TestTours::tour(1);
    project.watermarkText = QStringLiteral(" \t© Agency\t ");
    project.watermarkOpacity = 1;
    start(project);
    WatermarkView &watermark = layer(new WatermarkView);
    bindWatermarkView(watermark, *controller);
    EXPECT_TRUE(watermark.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(watermark.accessibleName(), "© Agency");
    const auto litPixels = [&watermark] {
        QImage image(watermark.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        watermark.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        int lit = 0;
        for (int y = image.height() - 80; y < image.height(); ++y)
            for (int x = image.width() - 200; x < image.width(); ++x)
                lit += qGray(image.pixel(x, y)) > 128;
        return lit;
    };
    EXPECT_GT(litPixels(), 20);
    watermark.setWatermark(QStringLiteral("© Agency"), 0);
    EXPECT_EQ(litPixels(), 0);
    watermark.setWatermark(QStringLiteral("  "), 1);
    EXPECT_TRUE(watermark.isBlank());
}

TEST_F(OverlayTest, CaptionBandNamesTheStationInTheVisitorsLanguage)
{
    LumivaneProject project = TestTours::tour(1);
    project.stations[0].nameTranslations = Translations{{"fr", " Salon "}};
    project.stations[0].publicCaption = QStringLiteral("South facing");
    project.stations[0].publicCaptionTranslations = Translations{{"fr", "Plein sud"}};
    start(project);
    ClassicCaptionBand &band = layer(new ClassicCaptionBand(language));
    bindClassicCaptionBand(band, *controller);
    EXPECT_EQ(band.accessibleName(), "Station 1");
    language.setCurrent(L10n::Language::french);
    EXPECT_EQ(band.accessibleName(), "Salon");
    EXPECT_EQ(band.accessibleDescription(), "South facing"); // the caption as stored
    EXPECT_TRUE(band.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(OverlayTest, ClassicMarkerOpensTheCardFromItsDiscOnly)
{
    start(TestTours::tour(1));
    const Hotspot hotspot = TestTours::infoHotspot("Window");
    auto *marker = new ClassicInfoMarker(&stationView);
    bindClassicInfoMarker(*marker, *controller, hotspot);
    marker->moveCentreTo(QPointF(300, 200));
    stationView.show();
    marker->show();
    QTest::mouseClick(marker, Qt::LeftButton, {}, QPoint(1, 1)); // the shadow's corner
    EXPECT_FALSE(controller->state().selectedInfoHotspot);
    QTest::mouseClick(marker, Qt::LeftButton, {}, marker->mapFromParent(QPoint(300, 200)));
    EXPECT_EQ(controller->state().selectedInfoHotspot, hotspot);
}

} // namespace
