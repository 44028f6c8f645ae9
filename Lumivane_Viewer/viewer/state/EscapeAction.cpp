#include "viewer/state/EscapeAction.h"

#include "viewer/state/FeedbackRecipient.h"
#include "viewer/state/RootFace.h"

EscapeAction escapeAction(const LumivaneProject &project, const ViewerState &state)
{
    const RootFace face = rootFace(project, state);
    if (face == RootFace::cover && state.showContactForm)
        return EscapeAction::closeContactForm;
    if (face != RootFace::stations)
        return EscapeAction::closeViewer;
    // Top of the stack first: what closes is what the visitor sees on top.
    if (state.showTableOfContents)
        return EscapeAction::closeTableOfContents;
    if (state.showKeyboardHelp)
        return EscapeAction::closeKeyboardHelp;
    if (state.showFeedback && feedbackRecipient(project))
        return EscapeAction::closeFeedback;
    if (state.lightboxContent)
        return EscapeAction::closeLightbox;
    if (state.showPropertyInfo)
        return EscapeAction::closePropertyInfo;
    if (state.selectedInfoHotspot)
        return EscapeAction::closeInfoCard;
    if (!state.immersiveMode && !state.kioskActive)
        return EscapeAction::closeViewer;
    return EscapeAction::none;
}
