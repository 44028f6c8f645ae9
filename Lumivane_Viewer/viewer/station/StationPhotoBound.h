#pragma once

#include "model/ModelEnums.h"

#include <QSize>

class QScreen;

/// The most pixels a station photo of a tour in `mode` is shown at, so that
/// a preload decodes it no larger than the station view will: the screen as
/// the slideshow shows it in classic tours, the GPU's texture limit in
/// panoramas. Empty where neither is known (no screen, no OpenGL): only the
/// decode budget bounds the photo then. GUI thread.
QSize stationPhotoBound(RenderMode mode, const QScreen *screen);
