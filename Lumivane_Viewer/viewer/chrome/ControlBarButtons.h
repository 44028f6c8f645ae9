#pragma once

#include "l10n/L10n.h"

#include <QList>
#include <QString>

/// The commands of the control bar, top to bottom.
enum class ControlBarAction {
    backToCover,
    goToStartStation,
    zoomIn,
    zoomOut,
    levelHorizon,
    showTableOfContents,
    toggleThumbBar,
    enterImmersiveMode,
    toggleVRMode,
    toggleKiosk,
    toggleAmbientMute,
    showFeedback,
};

/// What decides which control bar buttons show and how they look.
struct ControlBarInputs
{
    bool isClassic = false; // a classic slideshow tour, not a panorama one
    int stationCount = 0;
    bool thumbBarVisible = false;
    bool vrMode = false;
    bool kioskEnabled = false;
    bool ambientPlaying = false;
    bool ambientMuted = false;
    bool hasFeedbackRecipient = false;

    bool operator==(const ControlBarInputs &) const = default;
};

/// One button of the bar: its command, symbol and the keyed text that is
/// both its hover help and its accessible name.
struct ControlBarButton
{
    ControlBarAction action;
    QString symbol;
    L10n::Key help;

    bool operator==(const ControlBarButton &) const = default;
};

/// The buttons the bar shows for these inputs, top to bottom.
QList<ControlBarButton> controlBarButtons(const ControlBarInputs &inputs);
