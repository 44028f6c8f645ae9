#pragma once

#include "model/LumivaneProject.h"
#include "viewer/state/ViewerState.h"

/// What the Escape key does in the viewer.
enum class EscapeAction { none, closeLightbox, closeFeedback, closeViewer };

/// On the gate and the cover Escape closes the viewer. In the station view
/// the topmost thing that answers it wins: the lightbox, then the feedback
/// card, then the header's close button, which is absent in immersive mode
/// and during the kiosk tour; so Escape never closes the viewer from under
/// the lightbox.
EscapeAction escapeAction(const LumivaneProject &project, const ViewerState &state);
