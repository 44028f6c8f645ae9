#pragma once

#include <QLoggingCategory>

// What the panorama leaves out of a tour it cannot show in full (markers
// beyond those it draws at once).
Q_DECLARE_LOGGING_CATEGORY(lcPanorama)
