#include "viewer/state/ViewerLogging.h"

Q_LOGGING_CATEGORY(lcViewer, "lumivane.viewer")
