#include "PanoramaLogging.h"

Q_LOGGING_CATEGORY(lcPanorama, "lumivane.panorama")
