#include "ViewerTestFixture.h"

#include "viewer/state/EscapeAction.h"
#include "viewer/state/FeedbackRecipient.h"

#include <functional>
#include <initializer_list>

namespace {

struct KeyCase
{
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::optional<ViewerShortcut> expected;
    bool kioskEnabled = true;
    int stations = 4;
};

class ShortcutTest : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(ShortcutTest, KeyGivesCommand)
{
    LumivaneProject project = TestTours::tour(GetParam().stations);
    project.kioskEnabled = GetParam().kioskEnabled;
    EXPECT_EQ(shortcutFor(GetParam().key, GetParam().modifiers, GetParam().text, project), GetParam().expected);
}

constexpr auto none = Qt::NoModifier;
constexpr auto ctrl = Qt::ControlModifier;
constexpr auto shift = Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(
    Table, ShortcutTest,
    ::testing::Values(
        KeyCase{"CommandLeftGoesBack", Qt::Key_Left, ctrl, "", ViewerShortcut::navigateBack},
        KeyCase{"CommandRightOnKeypadArrowGoesForward", Qt::Key_Right, ctrl | Qt::KeypadModifier, "",
                ViewerShortcut::navigateForward},
        KeyCase{"BareLeftDoesNothing", Qt::Key_Left, none, "", std::nullopt},
        KeyCase{"CommandShiftLeftDoesNothing", Qt::Key_Left, ctrl | shift, "", std::nullopt},
        KeyCase{"CommandHGoesHome", Qt::Key_H, ctrl, "\x08", ViewerShortcut::goHome},
        KeyCase{"BareHDoesNothing", Qt::Key_H, none, "h", std::nullopt},
        KeyCase{"IOpensInformation", Qt::Key_I, none, "i", ViewerShortcut::togglePropertyInfo},
        KeyCase{"CapsLockI", Qt::Key_I, none, "I", ViewerShortcut::togglePropertyInfo},
        KeyCase{"CommandIDoesNothing", Qt::Key_I, ctrl, "\x09", std::nullopt},
        KeyCase{"AltRDoesNothing", Qt::Key_R, Qt::AltModifier, "r", std::nullopt},
        KeyCase{"RLevels", Qt::Key_R, none, "r", ViewerShortcut::levelHorizon},
        KeyCase{"SpaceWithKiosk", Qt::Key_Space, none, " ", ViewerShortcut::toggleKiosk},
        KeyCase{"SpaceWithoutKiosk", Qt::Key_Space, none, " ", std::nullopt, false},
        KeyCase{"PlusFromShiftEquals", Qt::Key_Equal, shift, "+", ViewerShortcut::zoomIn},
        KeyCase{"PlusOnKeypad", Qt::Key_Plus, Qt::KeypadModifier, "+", ViewerShortcut::zoomIn},
        KeyCase{"EqualsDoesNothing", Qt::Key_Equal, none, "=", std::nullopt},
        KeyCase{"MinusOnKeypad", Qt::Key_Minus, Qt::KeypadModifier, "-", ViewerShortcut::zoomOut},
        KeyCase{"CommandMinusDoesNothing", Qt::Key_Minus, ctrl, "-", std::nullopt},
        KeyCase{"AzertyQuestionIsShiftComma", Qt::Key_Comma, shift, "?", ViewerShortcut::showKeyboardHelp},
        KeyCase{"QuestionWithoutText", Qt::Key_Question, shift, "", ViewerShortcut::showKeyboardHelp},
        KeyCase{"AzertyCommaDoesNothing", Qt::Key_Comma, none, ",", std::nullopt},
        KeyCase{"TWithFourStations", Qt::Key_T, none, "t", ViewerShortcut::showTableOfContents},
        KeyCase{"TWithThreeStations", Qt::Key_T, none, "t", std::nullopt, true, 3}),
    [](const auto &info) { return std::string(info.param.name); });

// The state Escape meets: a started tour with what the case opens.
struct EscapeCase
{
    const char *name;
    std::function<void(ViewerState &)> open;
    EscapeAction expected;
    bool feedbackAddress = true;
};

class EscapeTest : public ::testing::TestWithParam<EscapeCase>
{
};

TEST_P(EscapeTest, TopmostAnswers)
{
    const EscapeCase &c = GetParam();
    LumivaneProject project = TestTours::tour(2);
    project.feedbackEnabled = true;
    project.feedbackEmail = c.feedbackAddress ? "a@b.c" : " \n";
    ViewerState state;
    state.hasLaunchedTour = true;
    c.open(state);
    EXPECT_EQ(escapeAction(project, state), c.expected);
}

void lightbox(ViewerState &s)
{
    s.lightboxContent = LightboxContent{LightboxContent::Kind::pdf, QUrl("file:///a.pdf"), "A"};
}
void feedback(ViewerState &s) { s.showFeedback = true; }
void propertyInfo(ViewerState &s) { s.showPropertyInfo = true; }
void help(ViewerState &s) { s.showKeyboardHelp = true; }
void contents(ViewerState &s) { s.showTableOfContents = true; }
void infoCard(ViewerState &s) { s.selectedInfoHotspot = TestTours::infoHotspot("Plaque"); }
void immersive(ViewerState &s) { s.immersiveMode = true; }
void kiosk(ViewerState &s) { s.kioskActive = true; }
void onCover(ViewerState &s) { s.hasLaunchedTour = false; }
void contactForm(ViewerState &s) { s.showContactForm = true; }

using Open = void (*)(ViewerState &);
std::function<void(ViewerState &)> opening(std::initializer_list<Open> opens)
{
    return [all = QList<Open>(opens)](ViewerState &s) {
        for (Open open : all)
            open(s);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Priorities, EscapeTest,
    ::testing::Values(
        EscapeCase{"CoverCloses", opening({onCover}), EscapeAction::closeViewer},
        EscapeCase{"ContactFormBeforeTheCover", opening({onCover, contactForm}), EscapeAction::closeContactForm},
        EscapeCase{"HeaderCloses", opening({}), EscapeAction::closeViewer},
        EscapeCase{"ContentsFirst", opening({lightbox, feedback, propertyInfo, help, contents, infoCard}),
                   EscapeAction::closeTableOfContents},
        EscapeCase{"HelpBeforeFeedback", opening({lightbox, feedback, propertyInfo, help, infoCard}),
                   EscapeAction::closeKeyboardHelp},
        EscapeCase{"FeedbackBeforeLightbox", opening({lightbox, feedback, propertyInfo, infoCard}),
                   EscapeAction::closeFeedback},
        EscapeCase{"FeedbackWithoutAddressIsNotShown", opening({feedback, infoCard}), EscapeAction::closeInfoCard,
                   false},
        EscapeCase{"LightboxBeforeTheInformationPanel", opening({lightbox, propertyInfo, infoCard}),
                   EscapeAction::closeLightbox},
        EscapeCase{"LightboxInImmersion", opening({lightbox, immersive}), EscapeAction::closeLightbox},
        EscapeCase{"InformationPanelBeforeTheCard", opening({propertyInfo, infoCard}), EscapeAction::closePropertyInfo},
        EscapeCase{"InfoCardBeforeTheTour", opening({infoCard}), EscapeAction::closeInfoCard},
        EscapeCase{"PanelsCloseDuringTheKioskTour", opening({help, kiosk}), EscapeAction::closeKeyboardHelp},
        EscapeCase{"NoHeaderInImmersion", opening({immersive}), EscapeAction::none},
        EscapeCase{"NoHeaderDuringTheKioskTour", opening({kiosk}), EscapeAction::none}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ViewerTestFixture, KeysActOnlyInTheStationViewButEscapeEverywhere)
{
    int closes = 0;
    LumivaneProject project = TestTours::tour(2);
    project.tourPassword = "secret";
    ViewerTour tour;
    tour.dismiss = [&] { ++closes; };
    open(project, tour);
    EXPECT_FALSE(controller->handleKeyPress(Qt::Key_I, Qt::NoModifier, "i"));
    EXPECT_TRUE(controller->handleKeyPress(Qt::Key_Escape, Qt::NoModifier, "\x1b"));
    EXPECT_EQ(closes, 1);

    controller->unlockTour();
    controller->startTour();
    EXPECT_TRUE(controller->handleKeyPress(Qt::Key_I, Qt::NoModifier, "i"));
    EXPECT_TRUE(controller->state().showPropertyInfo);
    for (int i = 0; i < 11; ++i)
        controller->handleKeyPress(Qt::Key_Plus, Qt::NoModifier, "+");
    EXPECT_EQ(controller->state().currentFOV, 20);
    controller->followZoom(120); // the wheel all the way out
    controller->handleKeyPress(Qt::Key_Plus, Qt::NoModifier, "+");
    EXPECT_EQ(controller->state().currentFOV, 110);
    controller->openAttachment({QUuid::createUuid(), AttachmentKind::pdf, "Plan", "plan.pdf"});
    EXPECT_TRUE(controller->handleKeyPress(Qt::Key_Escape, Qt::NoModifier, "\x1b"));
    EXPECT_FALSE(controller->state().lightboxContent);
    EXPECT_TRUE(controller->state().showPropertyInfo);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(controller->handleKeyPress(Qt::Key_Escape, Qt::NoModifier, "\x1b"));
    EXPECT_FALSE(controller->state().showPropertyInfo);
    EXPECT_EQ(closes, 1) << "the panel, not the tour";
    EXPECT_TRUE(controller->handleKeyPress(Qt::Key_Escape, Qt::NoModifier, "\x1b"));
    EXPECT_EQ(closes, 2);
}

} // namespace
