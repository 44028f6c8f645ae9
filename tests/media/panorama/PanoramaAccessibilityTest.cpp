// The markers a panorama shows, as assistive technology reads them: those
// it draws as buttons, named, pressed like a click, on screen while in view.

#include "PanoramaFixtures.h"

#include "media/panorama/PanoramaAccessibility.h"
#include "media/panorama/PanoramaMarkerPlaces.h"
#include "tests/support/AccessibilityEvents.h"
#include "tests/support/DisplayFocusLock.h"
#include "tests/support/HostileTexts.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numbers>
#include <utility>

using namespace PanoramaFixtures;

namespace {

constexpr double pi = std::numbers::pi;

void mouse(QWidget &view, QEvent::Type type, QPointF position)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, view.mapToGlobal(position), Qt::LeftButton, buttons, {});
    QCoreApplication::sendEvent(&view, &event);
}

// Turns the view half way round (or by that many half turns) as a
// visitor's drag does (0.005 per pixel).
void dragHalfTurn(QWidget &view, double halfTurns = 1.0)
{
    const QPointF start(100, 100);
    const QPointF begun = start + QPointF(QApplication::startDragDistance() + 1, 0);
    const QPointF end = begun + QPointF(halfTurns * pi / 0.005, 0);
    mouse(view, QEvent::MouseButtonPress, start);
    mouse(view, QEvent::MouseMove, begun);
    mouse(view, QEvent::MouseMove, end);
    mouse(view, QEvent::MouseButtonRelease, end);
}

class PanoramaAccessibilityTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The unturned sphere faces yaw pi: the centre of the view.
        m_inputs.hotspots = {m_front, m_left, m_behind, m_info, m_pending};
        m_inputs.stationNames = {{m_front.targetStationID, QStringLiteral("Salon")},
                                 {m_left.targetStationID, QStringLiteral("Cuisine")},
                                 {m_behind.targetStationID, QStringLiteral("Jardin")}};
        m_inputs.stationNumbers = {{m_front.targetStationID, QStringLiteral("2")}};
        m_inputs.showHotspotLabels = false; // the names do not depend on the drawn labels
        m_inputs.languageCode = QStringLiteral("en");
        m_inputs.onHotspotTap = [this](const Hotspot &hotspot) { m_tapped.append(hotspot.id); };
        m_view = std::make_unique<Panorama360ViewerView>(m_inputs, photoCache());
        m_view->resize(640, 480);
    }

    QStringList childNames() const
    {
        QAccessibleInterface *view = QAccessible::queryAccessibleInterface(m_view.get());
        QStringList names;
        for (int i = 0; i < view->childCount(); ++i)
            names << view->child(i)->text(QAccessible::Name);
        return names;
    }

    static Hotspot infoHotspot(double yaw)
    {
        Hotspot hotspot = navigationHotspot(yaw, 0.1);
        hotspot.kind = HotspotKind::info;
        hotspot.infoTitle = QStringLiteral("Cheminée");
        hotspot.infoTitleTranslations = Translations{{QStringLiteral("en"), QStringLiteral("Fireplace")}};
        return hotspot;
    }

    static Hotspot pendingHotspot()
    {
        Hotspot hotspot = navigationHotspot(pi + 0.1, 0.0);
        hotspot.isPending = true;
        return hotspot;
    }

    Hotspot m_front = navigationHotspot(pi, 0.0);
    Hotspot m_left = navigationHotspot(pi - 0.4, 0.0);
    Hotspot m_behind = navigationHotspot(0.0, 0.0);
    Hotspot m_info = infoHotspot(pi + 0.3);
    Hotspot m_pending = pendingHotspot();
    Panorama360ViewerView::Inputs m_inputs;
    QList<QUuid> m_tapped;
    std::unique_ptr<Panorama360ViewerView> m_view;
};

TEST_F(PanoramaAccessibilityTest, EachMarkerDrawnIsANamedButtonRoundTheStationFromTheLeftOfTheView)
{
    EXPECT_EQ(childNames(), (QStringList{"Cuisine", "2 \u00B7 Salon", "Fireplace"})) << "not the one behind";
    EXPECT_EQ(m_view->paintedItemCount(), 4) << "which the keyboard reaches all the same";
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(m_view.get());
    QAccessibleInterface *front = view->child(1);
    EXPECT_EQ(front->role(), QAccessible::Button);
    EXPECT_EQ(front->parent(), view);
    EXPECT_EQ(view->indexOfChild(front), 1);
    // Centred in the view, as big as the marker's hit sphere there.
    const QRect rect = front->rect();
    EXPECT_LE((m_view->mapFromGlobal(rect.center()) - QPoint(320, 240)).manhattanLength(), 2);
    EXPECT_GT(rect.width(), 20);
    EXPECT_EQ(view->childAt(rect.center().x(), rect.center().y()), front);
    EXPECT_FALSE(front->state().offscreen);
}

TEST_F(PanoramaAccessibilityTest, AnInfoMarkerIsNamedByItsTitleCutAsViewsShowIt)
{
    for (const HostileTexts::Text &hostile : HostileTexts::all()) {
        SCOPED_TRACE(hostile.name);
        Hotspot &info = m_inputs.hotspots[3];
        ASSERT_EQ(info.id, m_info.id);
        info.infoTitleTranslations = Translations{{QStringLiteral("en"), hostile.text}};
        m_view->setInputs(m_inputs);
        const QString read = childNames().value(2);
        EXPECT_TRUE(read == displayLine(hostile.text)) << read.size() << " characters read";
    }
}

TEST_F(PanoramaAccessibilityTest, PressDoesWhatAClickDoes)
{
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(m_view.get());
    QAccessibleActionInterface *press = view->child(2)->actionInterface();
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(press->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(m_tapped, QList<QUuid>{m_info.id});

    const QList<PanoramaMarkerPlace> places = m_view->visibleMarkers();
    QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, places[1].rect.center().toPoint());
    EXPECT_EQ(m_tapped, (QList<QUuid>{m_info.id, m_front.id})) << "a click on the same marker";
}

// What a tap that replaces the view's inputs (as a station change does) can
// tell without touching the tap it runs in: statics, not captures.
bool s_tapping = false;
bool s_tapWentWhileRunning = false;
QUuid s_tappedID;

// Goes with the last copy of the tap that holds it.
struct TapWitness
{
    ~TapWitness() { s_tapWentWhileRunning |= s_tapping; }
};

TEST_F(PanoramaAccessibilityTest, ATapThatReplacesTheInputsRunsToItsEndWhetherPressedOrClicked)
{
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"pressed",
         [this] {
             QAccessibleInterface *view = QAccessible::queryAccessibleInterface(m_view.get());
             view->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
         }},
        {"clicked",
         [this] {
             const QPoint info = m_view->visibleMarkers()[2].rect.center().toPoint();
             QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, info);
         }},
    };
    for (const auto &[way, tap] : ways) {
        SCOPED_TRACE(way);
        m_view->setInputs(m_inputs);
        Panorama360ViewerView::Inputs replacing = m_inputs;
        replacing.onHotspotTap = [this, witness = std::make_shared<TapWitness>()](const Hotspot &hotspot) {
            s_tapping = true;
            Panorama360ViewerView::Inputs next = m_inputs;
            next.hotspots.clear();
            next.onHotspotTap = nullptr;
            m_view->setInputs(next);
            s_tappedID = hotspot.id;
            s_tapping = false;
        };
        m_view->setInputs(std::exchange(replacing, {}));
        s_tapWentWhileRunning = false;
        s_tappedID = QUuid();
        tap();
        EXPECT_EQ(s_tappedID, m_info.id) << "the hotspot it was on";
        EXPECT_FALSE(s_tapWentWhileRunning);
    }
}

TEST_F(PanoramaAccessibilityTest, TurningTheViewTakesMarkersOffScreenAndBringsOthersOn)
{
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(m_view.get());
    QAccessibleInterface *front = view->child(1);
    dragHalfTurn(*m_view, 0.05);
    EXPECT_EQ(view->child(1), front) << "the same marker, a little to the side";
    dragHalfTurn(*m_view);
    EXPECT_EQ(childNames(), QStringList{"Jardin"});
    EXPECT_FALSE(view->child(0)->state().offscreen) << "the marker that was behind";

    // A background panorama takes no click: no marker to press either.
    m_inputs.interactive = false;
    m_view->setInputs(m_inputs);
    EXPECT_EQ(view->childCount(), 0);
}

TEST(PanoramaAccessibilityEvents, AssistiveTechnologyHearsWhenOtherMarkersComeIntoView)
{
    AccessibilityEvents events; // before any widget asks
    ASSERT_TRUE(events.isActive());
    Panorama360ViewerView::Inputs inputs;
    inputs.hotspots = {navigationHotspot(pi, 0.0), navigationHotspot(0.0, 0.0)};
    Panorama360ViewerView view(inputs, photoCache());
    view.resize(320, 240);
    view.show();
    const auto reorders = [&] {
        int count = 0;
        for (const AccessibilityEvents::Record &event : events.eventsOf(&view))
            count += event.type == QAccessible::ObjectReorder;
        return count;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return reorders() == 1; }, 5000)) << "the first frame shows the front marker";
    view.update();
    QTest::qWait(100);
    EXPECT_EQ(reorders(), 1) << "the same markers: nothing to tell";
    dragHalfTurn(view);
    EXPECT_TRUE(QTest::qWaitFor([&] { return reorders() == 2; }, 5000));
}

TEST(PanoramaAccessibilityEvents, TabOntoTheViewIsHeardOnItsMarkerAfterTheViewItself)
{
    DisplayFocusLock focus;
    AccessibilityEvents events;
    ASSERT_TRUE(events.isActive());
    QWidget window;
    auto *before = new QPushButton(QStringLiteral("Avant"), &window);
    Panorama360ViewerView::Inputs inputs;
    // Behind the view, which turns to it: not drawn yet when the keyboard reaches it.
    inputs.hotspots = {navigationHotspot(0.0, 0.0)};
    inputs.stationNames = {{inputs.hotspots[0].targetStationID, QStringLiteral("Salon")}};
    auto *view = new Panorama360ViewerView(inputs, photoCache(), &window);
    view->setGeometry(0, 40, 320, 240);
    window.resize(320, 280);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    events.clear();

    QTest::keyClick(before, Qt::Key_Tab);
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), view);
    QStringList heard;
    for (const AccessibilityEvents::Record &event : events.events()) {
        if (event.type == QAccessible::Focus)
            heard << event.name;
    }
    // A screen reader speaks the last one.
    ASSERT_FALSE(heard.isEmpty());
    EXPECT_EQ(heard.last().toStdString(), "Salon") << heard.join(", ").toStdString();
    // One started now, looking for what has the focus, finds the marker
    // among the view's children, and not the view.
    QAccessibleInterface *read = QAccessible::queryAccessibleInterface(view);
    EXPECT_FALSE(read->state().focused);
    QStringList focusedChildren;
    for (int i = 0; i < read->childCount(); ++i) {
        if (read->child(i)->state().focused)
            focusedChildren << read->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(focusedChildren, QStringList{QStringLiteral("Salon")});
}

TEST_F(PanoramaAccessibilityTest, HiddenMarkersAreNoChildren)
{
    m_inputs.hideHotspots = true;
    m_view->setInputs(m_inputs);
    EXPECT_TRUE(childNames().isEmpty());
}

TEST_F(PanoramaAccessibilityTest, ACrowdedViewShowsOnlyTheMarkersItDraws)
{
    constexpr int crowd = 3 * PanoramaHotspotNodes::shownLimit;
    m_inputs.hotspots.clear();
    for (int i = 0; i < crowd; ++i)
        m_inputs.hotspots.append(navigationHotspot(pi + 0.001 * i, 0.0));
    m_view->setInputs(m_inputs);
    EXPECT_EQ(childNames().size(), PanoramaHotspotNodes::shownLimit);
    EXPECT_EQ(m_view->paintedItemCount(), crowd) << "the keyboard reaches every one";
}

} // namespace
