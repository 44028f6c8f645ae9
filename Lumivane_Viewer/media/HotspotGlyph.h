#pragma once

/// What the icon of a classic hotspot marker shows.
enum class HotspotGlyph {
    arrow, // a navigation hotspot not yet visited
    check, // a visited navigation hotspot
    info,  // an info hotspot, possibly with a symbol of its attachments
};
