#include "ChromeFixture.h"

#include "media/sound/LumivaneAmbientPlayer.h"
#include "viewer/chrome/ChromeBindings.h"
#include "viewer/chrome/ControlBar.h"
#include "viewer/chrome/ControlBarLayout.h"
#include "widgets/SymbolButton.h"

namespace {

using Action = ControlBarAction;

struct BarCase
{
    const char *name;
    ControlBarInputs inputs;
    QList<Action> actions;
};

const QList<Action> kAlways{Action::backToCover, Action::goToStartStation, Action::toggleThumbBar,
                            Action::enterImmersiveMode};

ControlBarInputs inputs(bool classic, int stations)
{
    ControlBarInputs value;
    value.isClassic = classic;
    value.stationCount = stations;
    return value;
}

ControlBarInputs with(ControlBarInputs value, bool ControlBarInputs::*flag)
{
    value.*flag = true;
    return value;
}

const BarCase kBarCases[] = {
    {"PanoramaOfThree", inputs(false, 3),
     {Action::backToCover, Action::goToStartStation, Action::zoomIn, Action::zoomOut, Action::levelHorizon,
      Action::toggleThumbBar, Action::enterImmersiveMode, Action::toggleVRMode}},
    {"PanoramaOfFour", inputs(false, 4),
     {Action::backToCover, Action::goToStartStation, Action::zoomIn, Action::zoomOut, Action::levelHorizon,
      Action::showTableOfContents, Action::toggleThumbBar, Action::enterImmersiveMode, Action::toggleVRMode}},
    {"ClassicOfThree", inputs(true, 3), kAlways},
    {"ClassicOfFour", inputs(true, 4),
     {Action::backToCover, Action::goToStartStation, Action::showTableOfContents, Action::toggleThumbBar,
      Action::enterImmersiveMode}},
    {"Kiosk", with(inputs(true, 1), &ControlBarInputs::kioskEnabled), kAlways + QList{Action::toggleKiosk}},
    {"AmbientPlaying", with(inputs(true, 1), &ControlBarInputs::ambientPlaying), kAlways + QList{Action::toggleAmbientMute}},
    {"AmbientMutedButStopped", with(inputs(true, 1), &ControlBarInputs::ambientMuted), kAlways},
    {"Feedback", with(inputs(true, 1), &ControlBarInputs::hasFeedbackRecipient), kAlways + QList{Action::showFeedback}},
};

class ControlBarConditions : public ::testing::TestWithParam<BarCase>
{
};

TEST_P(ControlBarConditions, ShowsTheButtonsThatApplyInOrder)
{
    QList<Action> actions;
    for (const ControlBarButton &button : controlBarButtons(GetParam().inputs))
        actions << button.action;
    EXPECT_EQ(actions, GetParam().actions);
}

INSTANTIATE_TEST_SUITE_P(Flags, ControlBarConditions, ::testing::ValuesIn(kBarCases),
                         [](const auto &info) { return std::string(info.param.name); });

// The toggles change symbol and text with their state.
// Round buttons of 34 at the left edge, between what stands above them (the
// overlay column) and below them (the strip).
struct PlacementCase
{
    const char *name;
    int count;
    ControlBarRoom room;
    QList<QPair<int, QPoint>> corners; // some buttons' top-left corners
};

class ControlBarPlacement : public ::testing::TestWithParam<PlacementCase>
{
};

TEST_P(ControlBarPlacement, KeepsTheColumnInsideItsBand)
{
    const PlacementCase &c = GetParam();
    const QList<QPoint> positions = controlBarPositions(c.count, 34, c.room);
    ASSERT_EQ(positions.size(), c.count);
    for (const auto &[index, corner] : c.corners)
        EXPECT_EQ(positions[index], corner) << "button " << index;
}

INSTANTIATE_TEST_SUITE_P(
    Bands, ControlBarPlacement,
    ::testing::Values(
        PlacementCase{"centredWhenItFits", 12, {1080, 96, 972}, {{0, {20, 292}}, {1, {20, 334}}, {11, {20, 754}}}},
        PlacementCase{"movedDownBelowTheColumn", 12, {600, 96, 600}, {{0, {20, 96}}, {11, {20, 558}}}},
        PlacementCase{"movedUpAboveTheStrip", 4, {600, 0, 200}, {{0, {20, 40}}, {3, {20, 166}}}},
        PlacementCase{"gapsShrinkToFit", 10, {600, 96, 484}, {{0, {20, 99}}, {1, {20, 138}}, {9, {20, 450}}}},
        PlacementCase{"aSecondColumnWhenTheSmallestGapsDoNotFit", 12, {600, 96, 484},
                      {{0, {20, 178}}, {5, {20, 388}}, {6, {62, 178}}, {11, {62, 388}}}},
        PlacementCase{"aRowWhenThereIsNoBand", 3, {600, 100, 50}, {{0, {20, 100}}, {2, {104, 100}}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ControlBarToggles, SymbolAndTextFollowTheState)
{
    ControlBarInputs state = inputs(false, 1);
    state.ambientPlaying = true;
    const auto find = [](const ControlBarInputs &value, Action action) {
        for (const ControlBarButton &button : controlBarButtons(value))
            if (button.action == action)
                return button;
        return ControlBarButton{};
    };
    EXPECT_EQ(find(state, Action::toggleThumbBar).symbol, "rectangle.stack");
    EXPECT_EQ(find(state, Action::toggleThumbBar).help, L10n::Key::showThumbBar);
    EXPECT_EQ(find(state, Action::toggleVRMode).symbol, "vision.pro");
    EXPECT_EQ(find(state, Action::toggleAmbientMute).help, L10n::Key::viewerAmbientSoundMute);
    state.thumbBarVisible = state.vrMode = state.ambientMuted = true;
    EXPECT_EQ(find(state, Action::toggleThumbBar).symbol, "rectangle.stack.fill");
    EXPECT_EQ(find(state, Action::toggleThumbBar).help, L10n::Key::hideThumbBar);
    EXPECT_EQ(find(state, Action::toggleVRMode).symbol, "eye.slash");
    EXPECT_EQ(find(state, Action::toggleVRMode).help, L10n::Key::exitVR);
    EXPECT_EQ(find(state, Action::toggleAmbientMute).symbol, "speaker.slash.fill");
    EXPECT_EQ(find(state, Action::toggleAmbientMute).help, L10n::Key::viewerAmbientSoundEnable);
}

// The bar bound to a controller over a real project: the project's flags
// decide the buttons, and each press runs the controller's operation.
class BoundControlBar : public ChromeFixture
{
protected:
    ControlBar &bind(LumivaneProject project)
    {
        start(std::move(project));
        ControlBar &bar = layer(new ControlBar(language));
        bindControlBar(bar, *controller, effects.ambient);
        return bar;
    }

    QList<Action> visibleActions(const ControlBar &bar) const
    {
        QList<Action> actions;
        for (int i = 0; i <= int(Action::showFeedback); ++i) {
            if (!bar.button(Action(i))->isHidden())
                actions << Action(i);
        }
        return actions;
    }
};

TEST_F(BoundControlBar, ProjectFlagsDecideTheButtons)
{
    LumivaneProject project = TestTours::tour(4);
    project.kioskEnabled = true;
    project.feedbackEnabled = true;
    project.contactFormEmail = QStringLiteral("  agency@example.com \n");
    ControlBar &bar = bind(project);
    EXPECT_EQ(visibleActions(bar),
              (QList{Action::backToCover, Action::goToStartStation, Action::zoomIn, Action::zoomOut, Action::levelHorizon,
                     Action::showTableOfContents, Action::toggleThumbBar, Action::enterImmersiveMode,
                     Action::toggleVRMode, Action::toggleKiosk, Action::showFeedback}));

    // Help and accessible name are the same keyed text, in the current language.
    SymbolButton *home = bar.button(Action::goToStartStation);
    EXPECT_EQ(home->toolTip(), "Back to tour start");
    EXPECT_EQ(home->accessibleName(), "Back to tour start");
    language.setCurrent(L10n::Language::french);
    EXPECT_EQ(home->toolTip(), "Retour au début de la visite");
    EXPECT_EQ(home->accessibleName(), home->toolTip());
}

TEST_F(BoundControlBar, FeedbackNeedsAnAddress)
{
    LumivaneProject project = TestTours::tour(2);
    project.renderMode = RenderMode::classic;
    project.feedbackEnabled = true;
    project.feedbackEmail = QStringLiteral(" \t");
    ControlBar &bar = bind(project);
    EXPECT_EQ(visibleActions(bar), kAlways);
}

TEST_F(BoundControlBar, PressesRunTheOperations)
{
    LumivaneProject project = TestTours::tour(4);
    project.kioskEnabled = true;
    project.feedbackEnabled = true;
    project.feedbackEmail = QStringLiteral("a@b.c");
    ControlBar &bar = bind(project);
    const ViewerState &state = controller->state();

    click(bar.button(Action::zoomIn));
    EXPECT_EQ(state.currentFOV, 65);
    click(bar.button(Action::zoomOut));
    click(bar.button(Action::zoomOut));
    EXPECT_EQ(state.currentFOV, 85);
    click(bar.button(Action::levelHorizon));
    EXPECT_EQ(state.resetHorizonTrigger, 1);
    click(bar.button(Action::goToStartStation)); // already there: the view resets
    EXPECT_EQ(state.resetViewTrigger, 1);

    click(bar.button(Action::toggleThumbBar));
    EXPECT_TRUE(state.thumbBarVisible);
    EXPECT_EQ(bar.button(Action::toggleThumbBar)->look().symbol, "rectangle.stack.fill");
    EXPECT_EQ(bar.button(Action::toggleThumbBar)->toolTip(), "Hide thumbnails bar");
    click(bar.button(Action::toggleVRMode));
    EXPECT_TRUE(state.vrMode);
    EXPECT_EQ(bar.button(Action::toggleVRMode)->look().symbol, "eye.slash");

    click(bar.button(Action::showTableOfContents));
    EXPECT_TRUE(state.showTableOfContents);
    click(bar.button(Action::showFeedback));
    EXPECT_TRUE(state.showFeedback);
    click(bar.button(Action::enterImmersiveMode));
    EXPECT_TRUE(state.immersiveMode);
    click(bar.button(Action::toggleKiosk));
    EXPECT_TRUE(state.kioskActive);
    click(bar.button(Action::backToCover));
    EXPECT_FALSE(state.hasLaunchedTour);
    EXPECT_FALSE(state.kioskActive);
}

// The loop is stopped before its sound would reach a device: the player
// says it plays from the moment it is handed audio bytes.
TEST_F(BoundControlBar, AmbientButtonFollowsThePlayer)
{
    LumivaneProject project = TestTours::tour(1);
    project.ambientSoundData = QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) + QByteArray(28, '\0');
    ControlBar &bar = bind(project); // the viewer's appearance started the loop
    SymbolButton *mute = bar.button(Action::toggleAmbientMute);
    ASSERT_FALSE(mute->isHidden());
    EXPECT_EQ(mute->look().symbol, "speaker.wave.2.fill");
    click(mute);
    EXPECT_TRUE(effects.ambient.isMuted());
    EXPECT_EQ(mute->look().symbol, "speaker.slash.fill");
    EXPECT_EQ(mute->accessibleName(), "Enable ambient sound");
    effects.ambient.stop();
    EXPECT_TRUE(mute->isHidden());
}

} // namespace
