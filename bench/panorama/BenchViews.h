#pragma once

#include "media/panorama/Panorama360ViewerView.h"

#include <QUrl>

#include <chrono>

/// The panorama views the benchmarks drive and what they watch of them.
namespace BenchViews {

/// A view at 1080p as the viewer shows a station: twenty hotspots with labels.
Panorama360ViewerView::Inputs viewInputs(const QUrl &url);

/// The photo is on the sphere at full resolution and its fade-in has ended.
bool fullyShown(Panorama360ViewerView &view);
/// Some picture of the photo is on the sphere, drawn at half opacity or
/// more: a frame drawn fainter, early in a fade-in, is still nearly black.
bool photoShown(Panorama360ViewerView &view);
/// The photo on the sphere is the full-resolution one, with nothing left to load.
bool fullResolutionShown(Panorama360ViewerView &view);

/// The steady clock in nanoseconds; the same clock in every process.
inline qint64 steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace BenchViews
