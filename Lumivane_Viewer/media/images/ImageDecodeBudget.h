#pragma once

#include "JpegHeader.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>

/// The one rule by which every picture of a package is decoded: never
/// larger than the view that asks for it shows it (its bound), reduced by
/// the decoder while it reads where it can (a JPEG's DCT scaling by 1/2, 1/4,
/// 1/8, and past that by averaging blocks of pixels as their rows arrive;
/// Qt's readers of 8-bit PNG and of SVG), so that a picture is never held at
/// its full size when less is shown. A picture whose reader cannot reduce it
/// is decoded whole only when it is not much larger than its place (see
/// Role). Every decode is refused unread when its header asks for more
/// memory than a decode may hold, counted in the pixel format the reader
/// makes, or more scans than a decode may walk. Reentrant.
namespace ImageDecodeBudget {

/// The most one decode may hold at once: the picture it makes, the
/// decoder's whole-picture buffers and the copy that follows a whole
/// decode. Also every image reader's allocation limit.
constexpr qint64 byteCeiling = qint64(1) << 30;
/// The most scans of a JPEG a decode walks: each scan of a progressive JPEG
/// goes over all of its blocks again, and one may take a few bytes, so that
/// thousands of them cost seconds. No encoder writes more than a few dozen.
constexpr int scanLimit = 100;
/// The most pixels a picture held in memory (one the project embeds: a logo,
/// a floor plan) may claim: more than any such picture is made with, and
/// few enough that a decode reduced by eight, which still walks every block
/// the header claims, stays short.
constexpr qint64 embeddedPixelCeiling = 150'000'000;
/// The reductions of libjpeg's DCT scaling, largest picture first.
constexpr std::array<int, 4> jpegReductions{1, 2, 4, 8};

/// Where a picture shows, which bounds the stored size at which it may be
/// decoded whole when its reader cannot reduce it (see wholeBound()).
/// Larger, it is refused, and its view shows what it shows for a missing
/// picture.
enum class Role {
    /// A station's photo, in the panorama or the classic slideshow: no
    /// larger than photoSideLimit on either side. Never a drawing (SVG).
    photo,
    /// The lightbox's picture, shown as large as the screen: bounded as a
    /// photo.
    largePicture,
    /// Shown smaller: a thumbnail, an info card's attachment, the classic
    /// cover's background, a logo, a floor plan. No more than
    /// pictureWholeFactor times its shown size on either side.
    picture,
};

/// The most each view of a picture the project embeds shows of it, at up to
/// four pixels a point: the cover's logo 60 points high, the floor plan 220
/// points wide. The header's logo is smaller than the cover's.
constexpr int logoPixelHeight = 240;
constexpr int planPixelWidth = 880;

/// The texture limit of the software renderer (Mesa's llvmpipe): no photo
/// shows more of itself than a texture this wide holds.
constexpr int photoSideLimit = 16384;
/// Room for a picture exported a few times larger than it shows; beyond it,
/// a whole decode would hold more than sixteen times the pixels it shows.
constexpr int pictureWholeFactor = 4;

/// `size` shrunk to fit in `bound`, keeping its shape and at least a pixel a
/// side; unchanged when it fits or when the bound is empty.
QSize fitted(QSize size, QSize bound);
/// The size a JPEG decodes to at 1/reduction: each side rounded up.
QSize reduced(QSize size, int reduction);
/// The smallest DCT reduction after which neither side is longer than
/// maxSide; 0 when even the largest leaves one longer.
int reductionWithin(QSize size, int maxSide);
/// Whether a decode of the JPEG at 1/reduction into `bytesPerPixel` a
/// pixel stays within byteCeiling.
bool allows(const JpegHeader &jpeg, int reduction, int bytesPerPixel);
/// The largest a picture shown at `shown` (upright) may be, upright, to be
/// decoded whole in `role`.
QSize wholeBound(Role role, QSize shown);
/// Whether pictures of this format (as QImageReader names it) are drawings,
/// which a photo never is.
bool isDrawing(const QByteArray &format);

/// Reads a picture file, upright, at no more pixels than fit in `bound` (an
/// empty bound: its own size, as far as the budget allows), for `role`. Null
/// when it gives no picture or, unread, when the budget refuses it. JPEGs
/// come as 24-bit RGB.
QImage readFile(const QString &path, QSize bound, Role role);
/// readFile() of a picture the project embeds, held in memory, as a
/// Role::picture shown at the smallest size that covers what each of its
/// views shows: logoPixelHeight high or planPixelWidth wide, whichever is
/// larger, never enlarged. Also null, unread, when it claims more than
/// embeddedPixelCeiling pixels.
QImage readData(const QByteArray &bytes);

} // namespace ImageDecodeBudget
