#pragma once

#include <numbers>

/// Where a panorama photo lies on the photo sphere: the one place that decides
/// which column of an equirectangular photo sits at which yaw.
///
/// Yaw and pitch are the directions of the sphere's own frame in which
/// hotspots are placed: yaw 0, pitch 0 is +Z, yaw grows towards -X (to the
/// viewer's right) and pitch towards +Y. The photo's centre column lies at yaw
/// 0, its left edge at yaw -pi and its right edge at yaw +pi (the seam behind
/// the default view); its top row at pitch +pi/2.
namespace SphereTextureMapping {

/// Fraction of the photo's width (0 left edge, 1 right edge) shown at yaw.
constexpr double photoColumn(double yaw)
{
    return 0.5 + yaw / (2.0 * std::numbers::pi);
}

/// Fraction of the photo's height (0 top row, 1 bottom row) shown at pitch.
constexpr double photoRow(double pitch)
{
    return 0.5 - pitch / std::numbers::pi;
}

/// The sphere material mirrors its texture left to right (scale -1, repeat
/// wrapping) so that the photo reads correctly from inside; the sphere's own
/// texture coordinate is therefore the negated column.
constexpr double sphereCoordinateS(double yaw)
{
    return -photoColumn(yaw);
}

} // namespace SphereTextureMapping
