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
    if (state.lightboxContent)
        return EscapeAction::closeLightbox;
    if (state.showFeedback && feedbackRecipient(project))
        return EscapeAction::closeFeedback;
    if (state.showPropertyInfo)
        return EscapeAction::closePropertyInfo;
    if (state.showKeyboardHelp)
        return EscapeAction::closeKeyboardHelp;
    if (state.showTableOfContents)
        return EscapeAction::closeTableOfContents;
    if (state.selectedInfoHotspot)
        return EscapeAction::closeInfoCard;
    if (!state.immersiveMode && !state.kioskActive)
        return EscapeAction::closeViewer;
    return EscapeAction::none;
}
