#pragma once

#include "viewer/ViewerServices.h"

/// The viewer's services made of the application's process-wide instances,
/// with the desktop taking every external URL. The one place below main that
/// asks for shared instances on the viewer's behalf.
ViewerServices sharedViewerServices();
