#include "TestNavigation.h"
#include "navigation/FloorplanPanel.h"
#include "navigation/MiniFloorplanOverlay.h"
#include "navigation/ThumbStripLayout.h"

#include "tests/support/FlatPng.h"
#include "tests/support/HostileTexts.h"

#include <QHelpEvent>
#include <QToolTip>

namespace {

using TestStations::placed;

class LongNames : public NavigationViewTest, public ::testing::WithParamInterface<HostileTexts::Text>
{
};

// Station names and levels have no length limit: the strip's level captions
// and the floor plan's tooltips hold one line of them, control characters
// shown as spaces, whatever the author typed.
TEST_P(LongNames, OneLineOfEachName)
{
    const QString &text = GetParam().text;
    const ThumbStripLayout strip =
        layoutThumbStrip(TestStations::onLevels({text, QStringLiteral("B")}), "Other", QFontMetricsF(QFont()), 12);
    ASSERT_EQ(strip.captions.size(), 2);
    EXPECT_LE(strip.captions[0].text.size(), DisplayLength::line + 1);
    EXPECT_FALSE(HostileTexts::hasControlCharacter(strip.captions[0].text, LineBreaks::asSpaces));

    LumivaneProject project = TestTours::tour(0);
    project.stations = {placed(1, text, 1, 0.3, 0.5)};
    project.stations[0].name = text;
    project.floorplanImageData = flatPngBytes(QSize(400, 200), Qt::white);
    auto *overlay = new MiniFloorplanOverlay(project, project.stations[0], accent, l10n, &host);
    ASSERT_TRUE(QTest::qWaitFor([overlay] { return !overlay->isDecodingPlan(); }));
    overlay->adjustSize();
    showHost();
    FloorplanPanel *panel = overlay->panel();
    const QPoint marker = panel->markerCentre(TestTours::stationID(1))->toPoint();
    QHelpEvent help(QEvent::ToolTip, marker, panel->mapToGlobal(marker));
    QCoreApplication::sendEvent(panel, &help);
    const QString tip = QToolTip::text();
    QToolTip::hideText();
    EXPECT_FALSE(tip.isEmpty());
    EXPECT_LE(tip.size(), DisplayLength::line + 1);
    EXPECT_FALSE(HostileTexts::hasControlCharacter(tip, LineBreaks::asSpaces));
}

INSTANTIATE_TEST_SUITE_P(Hostile, LongNames, ::testing::ValuesIn(HostileTexts::all()),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
