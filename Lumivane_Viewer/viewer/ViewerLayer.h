#pragma once

#include <array>

/// The layers of the station view, back to front. The order of this list is
/// the order on screen; ViewerLayerStack is the only place that applies it.
/// The floor plan and the thumbnail strip lie under every card, panel and
/// sheet, so that none of those opens under them.
enum class ViewerLayer {
    background,
    media,
    transitionCover,
    watermark,
    headerAndControlBar,
    immersiveExit,
    kioskHeader,
    floorPlanAndThumbStrip,
    infoCard,
    propertyInfo,
    splash,
    lightbox,
    feedback,
    keyboardHelp,
    tableOfContents,
    keyboardShortcuts,
};

inline constexpr std::array<ViewerLayer, 16> allViewerLayers = {
    ViewerLayer::background,   ViewerLayer::media,         ViewerLayer::transitionCover,
    ViewerLayer::watermark,    ViewerLayer::headerAndControlBar, ViewerLayer::immersiveExit,
    ViewerLayer::kioskHeader,  ViewerLayer::floorPlanAndThumbStrip, ViewerLayer::infoCard,
    ViewerLayer::propertyInfo, ViewerLayer::splash,        ViewerLayer::lightbox,
    ViewerLayer::feedback,     ViewerLayer::keyboardHelp,  ViewerLayer::tableOfContents,
    ViewerLayer::keyboardShortcuts,
};
