#pragma once

#include "model/LumivaneProject.h"
#include "viewer/state/ViewerState.h"

/// What the Escape key does in the viewer.
enum class EscapeAction {
    none,
    closeLightbox,
    closeFeedback,
    closeContactForm,
    closePropertyInfo,
    closeKeyboardHelp,
    closeTableOfContents,
    closeInfoCard,
    closeViewer,
};

/// Escape closes the topmost open thing: the lightbox, the feedback card,
/// the contact form, the information panel, the help card, the table of
/// contents, the info card, in that order. With none of them open it closes
/// the viewer from the gate, the cover and the station view's header; the
/// header is absent in immersive mode and during the kiosk tour, so there
/// Escape then does nothing.
EscapeAction escapeAction(const LumivaneProject &project, const ViewerState &state);
