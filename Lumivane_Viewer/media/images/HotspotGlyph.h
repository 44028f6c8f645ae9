#pragma once

#include <QString>

/// What the icon of a classic hotspot marker shows.
enum class HotspotGlyph {
    arrow, // a navigation hotspot not yet visited
    check, // a visited navigation hotspot
    info,  // an info hotspot, possibly with a symbol of its attachments
};

/// The glyph's name, as it appears in memo keys of marker images.
inline QString glyphName(HotspotGlyph glyph)
{
    switch (glyph) {
    case HotspotGlyph::arrow:
        return QStringLiteral("arrow");
    case HotspotGlyph::check:
        return QStringLiteral("check");
    case HotspotGlyph::info:
        break;
    }
    return QStringLiteral("info");
}
