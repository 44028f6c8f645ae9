#include "ControlBarButtons.h"

namespace {

// The table of contents only pays off from this many stations on.
constexpr int kTableOfContentsMinimumStations = 4;

} // namespace

QList<ControlBarButton> controlBarButtons(const ControlBarInputs &inputs)
{
    using Key = L10n::Key;
    using Action = ControlBarAction;
    QList<ControlBarButton> buttons{
        {Action::backToCover, QStringLiteral("chevron.backward.circle.fill"), Key::backHome},
        {Action::goToStartStation, QStringLiteral("house.fill"), Key::backToTourStart},
    };
    if (!inputs.isClassic) {
        buttons << ControlBarButton{Action::zoomIn, QStringLiteral("plus.magnifyingglass"), Key::zoomIn}
                << ControlBarButton{Action::zoomOut, QStringLiteral("minus.magnifyingglass"), Key::zoomOut}
                << ControlBarButton{Action::levelHorizon, QStringLiteral("level.fill"), Key::levelHorizon};
    }
    if (inputs.stationCount >= kTableOfContentsMinimumStations)
        buttons << ControlBarButton{Action::showTableOfContents, QStringLiteral("list.bullet.rectangle"),
                                    Key::viewerTableOfContentsHelp};
    buttons << (inputs.thumbBarVisible
                    ? ControlBarButton{Action::toggleThumbBar, QStringLiteral("rectangle.stack.fill"), Key::hideThumbBar}
                    : ControlBarButton{Action::toggleThumbBar, QStringLiteral("rectangle.stack"), Key::showThumbBar});
    buttons << ControlBarButton{Action::enterImmersiveMode, QStringLiteral("arrow.up.left.and.arrow.down.right"),
                                Key::immersionMode};
    if (!inputs.isClassic) {
        buttons << (inputs.vrMode ? ControlBarButton{Action::toggleVRMode, QStringLiteral("eye.slash"), Key::exitVR}
                                  : ControlBarButton{Action::toggleVRMode, QStringLiteral("vision.pro"), Key::vrMode});
    }
    if (inputs.kioskEnabled)
        buttons << ControlBarButton{Action::toggleKiosk, QStringLiteral("play.fill"), Key::viewerKioskPlayHelp};
    if (inputs.ambientPlaying) {
        buttons << (inputs.ambientMuted ? ControlBarButton{Action::toggleAmbientMute, QStringLiteral("speaker.slash.fill"),
                                                           Key::viewerAmbientSoundEnable}
                                        : ControlBarButton{Action::toggleAmbientMute, QStringLiteral("speaker.wave.2.fill"),
                                                           Key::viewerAmbientSoundMute});
    }
    if (inputs.hasFeedbackRecipient)
        buttons << ControlBarButton{Action::showFeedback, QStringLiteral("hand.thumbsup"), Key::viewerFeedbackHelp};
    return buttons;
}
