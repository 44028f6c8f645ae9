#pragma once

#include <QImage>
#include <QSizeF>

/// The classic cover's softened photo for a view of `logicalSize`: the photo
/// scaled to fill the view (the overflow cut off) and blurred with a radius
/// of `radius` points, taken as the standard deviation of a Gaussian as the
/// platform's image blurs do, computed as if transparent pixels surrounded
/// the photo so its edges fade. A blur that wide leaves no detail finer than
/// a few points, so the result is made at a reduced scale (three pixels of
/// deviation: a sixth of the logical size for a radius of 18) and drawn
/// magnified to the view; it looks the same and costs a fraction. Null for a
/// null photo or an empty size. Pure: runs on any thread.
QImage blurredCoverImage(const QImage &photo, QSizeF logicalSize, double radius);
