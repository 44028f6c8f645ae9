#pragma once

#include <QSize>

#include <algorithm>

/// How a panorama photo is cut into horizontal strips, one GL texture each.
/// Setting up the memory of one huge texture holds the driver's shared
/// texture lock long enough to stall every view; strips are set up one at a
/// time as the decode reaches them.
namespace PanoramaStrips {

/// Rows per strip: a multiple of the upload bands, so a band never spans two strips.
constexpr int stripRows = 512;

constexpr int count(QSize size)
{
    return (size.height() + stripRows - 1) / stripRows;
}

constexpr int firstRow(int strip)
{
    return strip * stripRows;
}

constexpr QSize stripSize(QSize size, int strip)
{
    return {size.width(), std::min(stripRows, size.height() - firstRow(strip))};
}

} // namespace PanoramaStrips
