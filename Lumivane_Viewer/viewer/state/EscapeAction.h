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

/// Escape closes the topmost open thing, in the order the station view
/// stacks them: the table of contents, the help card, the feedback card, the
/// lightbox, the information panel, the info card; on the cover, the contact
/// form. With none of them open it closes
/// the viewer from the gate, the cover and the station view's header; the
/// header is absent in immersive mode and during the kiosk tour, so there
/// Escape then does nothing.
EscapeAction escapeAction(const LumivaneProject &project, const ViewerState &state);
