#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <cmath>

// Reading painted output back: where light marks (text, strokes) lie on a
// dark picture, and what a colour at an opacity gives over another.

/// The smallest rectangle holding every pixel lighter than `lightness`
/// (0-255); empty when there is none.
inline QRect inkBounds(const QImage &image, int lightness = 90)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) <= lightness)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

/// `over` at opacity `alpha` painted on `under`.
inline QColor blended(QColor under, QColor over, double alpha)
{
    const auto mix = [alpha](int a, int b) { return int(std::lround(a * (1 - alpha) + b * alpha)); };
    return QColor(mix(under.red(), over.red()), mix(under.green(), over.green()), mix(under.blue(), over.blue()));
}
