#pragma once

#include <QLoggingCategory>

// Tour content the viewer cannot show as it stands (for instance stations
// that share an id).
Q_DECLARE_LOGGING_CATEGORY(lcViewer)
