#pragma once

#include "model/Hotspot.h"

#include <QString>

/// What the read-aloud button reads: the hotspot's title and description in
/// the language of the code, each only when it holds more than spaces and
/// tabs, joined by ". ". The default title is never read.
QString readAloudText(const Hotspot &hotspot, const QString &languageCode);
