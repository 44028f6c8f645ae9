#include "viewer/state/EscapeAction.h"

#include "viewer/state/FeedbackRecipient.h"
#include "viewer/state/RootFace.h"

EscapeAction escapeAction(const LumivaneProject &project, const ViewerState &state)
{
    if (rootFace(project, state) != RootFace::stations)
        return EscapeAction::closeViewer;
    if (state.lightboxContent)
        return EscapeAction::closeLightbox;
    if (state.showFeedback && feedbackRecipient(project))
        return EscapeAction::closeFeedback;
    if (!state.immersiveMode && !state.kioskActive)
        return EscapeAction::closeViewer;
    return EscapeAction::none;
}
