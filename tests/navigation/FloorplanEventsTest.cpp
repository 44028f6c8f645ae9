#include "TestNavigation.h"
#include "navigation/FloorplanPanel.h"
#include "navigation/MiniFloorplanOverlay.h"

#include "tests/support/AccessibilityEvents.h"
#include "tests/support/FlatPng.h"

#include <QAccessible>

// What a screen reader hears of the floor plan, on the virtual X display,
// where Qt passes accessibility events on.
namespace {

using TestStations::placed;

class FloorplanEventsTest : public NavigationViewTest
{
};

TEST_F(FloorplanEventsTest, aMarkerInTheSamePlaceOnAnotherLevelIsHeardUnderItsNewName)
{
    AccessibilityEvents events; // before any widget asks
    ASSERT_TRUE(events.isActive());
    LumivaneProject project = TestTours::tour(0);
    project.stations = {placed(1, "A", 1), placed(2, "B", 2)};
    project.floorplanImageData = flatPngBytes(QSize(400, 200), Qt::gray);
    auto *overlay = new MiniFloorplanOverlay(project, project.stations[0], accent, l10n, &host);
    showHost();
    QAccessibleInterface *plan = QAccessible::queryAccessibleInterface(overlay->panel());
    ASSERT_EQ(plan->childCount(), 1);
    ASSERT_EQ(plan->child(0)->text(QAccessible::Name), "Station 1");
    events.clear();

    overlay->setCurrentStation(project.stations[1]);
    QStringList renamed;
    for (const AccessibilityEvents::Record &event : events.events()) {
        if (event.type == QAccessible::NameChanged)
            renamed << event.name;
    }
    EXPECT_EQ(renamed, QStringList{"Station 2"});
}

} // namespace
