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
/// 1/8, and past that by averaging blocks of pixels as their rows arrive),
/// so that a picture is never held at its full size when less is shown; and
/// refused unread when its header asks for more memory than a decode may
/// hold even at the smallest reduction, or more scans than a decode may walk.
/// Reentrant.
namespace ImageDecodeBudget {

/// The most one decode may hold at once: the picture it makes and the
/// decoder's whole-picture buffers. Also every image reader's allocation limit.
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

/// Reads a picture file, upright, at no more pixels than fit in `bound` (an
/// empty bound: its own size, as far as the budget allows). Null when it
/// gives no picture or, unread, when even its smallest decode would exceed
/// byteCeiling. JPEGs come as 24-bit RGB.
QImage readFile(const QString &path, QSize bound);
/// readFile() of a picture held in memory, also null, unread, when it claims
/// more than embeddedPixelCeiling pixels.
QImage readData(const QByteArray &bytes, QSize bound);

} // namespace ImageDecodeBudget
