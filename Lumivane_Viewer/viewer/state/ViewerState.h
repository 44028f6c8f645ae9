#pragma once

#include "model/Hotspot.h"
#include "model/LightboxContent.h"

#include <QList>
#include <QSet>
#include <QUuid>

#include <optional>

/// Everything a visit has changed so far: the station on screen, the history,
/// the open panels and the modes. A plain value with the initial state of a
/// fresh viewer; only ViewerController changes it. The kiosk dwell timer is
/// not part of it (the controller keeps that).
struct ViewerState
{
    std::optional<QUuid> currentStationID;
    bool showFeedback = false;
    bool showTableOfContents = false;
    bool showKeyboardHelp = false;
    std::optional<Hotspot> selectedInfoHotspot;
    bool hasLaunchedTour = false;
    bool showPropertyInfo = false;
    QSet<QUuid> visitedStationIDs;
    double currentFOV = 75;
    int resetHorizonTrigger = 0;
    int resetViewTrigger = 0;
    bool immersiveMode = false;
    bool showSplash = true;
    bool unlockedTour = false;
    std::optional<LightboxContent> lightboxContent;
    bool showContactForm = false;
    bool kioskActive = false;
    bool thumbBarVisible = false;
    double transitionOpacity = 0;
    /// The station a change is on its way to, from the fade's start to its
    /// arrival; lets the views get its photo ready meanwhile.
    std::optional<QUuid> arrivingStationID;
    bool vrMode = false;
    QList<QUuid> navHistory;
    int navIndex = -1; // -1 exactly while navHistory is empty
    bool navSkipPush = false; // set by back and forward for the one move they start

    bool operator==(const ViewerState &) const = default;
};
