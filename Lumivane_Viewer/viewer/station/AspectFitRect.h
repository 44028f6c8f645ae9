#pragma once

#include <QRectF>
#include <QSizeF>

/// The rectangle an image of imageSize takes when fitted whole into a
/// container of size `in` with its aspect ratio kept, centred. Any size not
/// greater than zero gives the whole container.
QRectF aspectFitRect(QSizeF imageSize, QSizeF in);
