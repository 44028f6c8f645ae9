#pragma once

#include <QSize>

#include <algorithm>
#include <cmath>
#include <numbers>

/// How a panorama photo is cut into horizontal strips, one GL texture each.
/// Setting up the memory of one huge texture holds the driver's shared
/// texture lock long enough to stall every view; strips are set up one at a
/// time as the decode reaches them.
///
/// Near the poles a row of an equirectangular photo spans a small circle of
/// the sphere, and its columns are packed far tighter than its rows: a strip
/// lying wholly nearer a pole keeps a half, a quarter or an eighth of the
/// columns, as long as they stay at least as dense as the rows at the
/// strip's edge nearest the equator. Nothing visible is lost, and the
/// texture of an 8K photo takes an eighth less.
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

/// The rows of the photo a strip covers.
constexpr QSize stripSize(QSize size, int strip)
{
    return {size.width(), std::min(stripRows, size.height() - firstRow(strip))};
}

/// By how much the columns of the rows [top, bottom) of a photo of `size`
/// may be thinned: a power of two that divides the width, at most 8.
inline int widthDivisor(QSize size, int top, int bottom)
{
    // The widest circle of the sphere among these rows: the edge nearest the equator.
    const int middle = size.height() / 2;
    const int nearest = bottom <= middle ? bottom : (top >= middle ? top : middle);
    const double widest = std::sin(std::numbers::pi * nearest / std::max(1, size.height()));
    int divisor = 1;
    while (divisor < 8 && 2 * divisor * widest <= 1.0 && size.width() % (2 * divisor) == 0)
        divisor *= 2;
    return divisor;
}

/// The texture of a strip: its rows, and its columns thinned near the poles.
inline QSize textureSize(QSize size, int strip)
{
    const QSize rows = stripSize(size, strip);
    const int top = firstRow(strip);
    return {rows.width() / widthDivisor(size, top, top + rows.height()), rows.height()};
}

} // namespace PanoramaStrips
