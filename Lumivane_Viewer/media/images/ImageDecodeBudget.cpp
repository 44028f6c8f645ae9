#include "ImageDecodeBudget.h"

#include "JpegReducedDecode.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>
#include <QTransform>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>

namespace {

Q_LOGGING_CATEGORY(lcImages, "lumivane.images")

// What our JPEG decoder makes: 24-bit RGB.
constexpr int jpegBytesPerPixel = 3;
// Past this, a picture read larger than it is shown, to be scaled down,
// holds more memory than the detail it gains is worth.
constexpr qint64 largestPictureToScaleDown = ImageDecodeBudget::byteCeiling / 4;
// Enough of a file's start for the fields read from it here.
constexpr qsizetype headLength = 29;

QByteArray fileHead(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(headLength) : QByteArray();
}

qint64 pixels(QSize size)
{
    return qint64(size.width()) * size.height();
}

// A picture as both Qt's reader and our own JPEG decoder read it, and the
// most pixels it may claim.
struct Source
{
    QByteArray head; // the file's first headLength bytes
    std::function<std::optional<JpegHeader>()> jpegHeader;
    std::function<QImage(int reduction)> reducedJpeg;
    qint64 pixelCeiling;
};

// The size of the picture the reader makes, as stored. Qt's GIF reader tells
// the size of the first frame, but makes a picture as large as the logical
// screen its header claims.
QSize storedSize(QImageReader &reader, const QByteArray &format, const QByteArray &head)
{
    const QSize size = reader.size();
    if (!size.isValid() || format != "gif" || head.size() < 10)
        return size;
    return size.expandedTo(QSize(qFromLittleEndian<quint16>(head.constData() + 6),
                                 qFromLittleEndian<quint16>(head.constData() + 8)));
}

// Whether the reader reduces the picture while it reads, holding no more than
// what it makes: SVG's renderer, and Qt's PNG reader for the 32-bit formats
// it makes of 8-bit colours, unless the file is interlaced.
bool readsReduced(QImageReader &reader, const QByteArray &format, const QByteArray &head)
{
    if (ImageDecodeBudget::isDrawing(format))
        return true;
    const QImage::Format made = reader.imageFormat();
    const bool interlaced = head.size() < headLength || head[headLength - 1] != 0;
    return format == "png" && (made == QImage::Format_ARGB32 || made == QImage::Format_RGB32) && !interlaced;
}

// What decoding `size` pixels costs in the reader's format (32 bits a pixel
// where the reader does not tell), with one copy of it: scaling works on a
// copy of 32 bits a pixel (64 for the wider formats), and the image cache
// keeps a 24-bit one of an opaque photo.
qint64 heldBytes(QSize size, QImage::Format format)
{
    const int bits = format == QImage::Format_Invalid ? 32 : int(QImage::toPixelFormat(format).bitsPerPixel());
    return pixels(size) * (bits + std::max(bits, 32)) / 8;
}

// The smallest DCT reduction whose decode stays within the ceiling; 0 when none does.
int smallestAllowedReduction(const JpegHeader &jpeg)
{
    for (const int reduction : ImageDecodeBudget::jpegReductions) {
        if (ImageDecodeBudget::allows(jpeg, reduction, jpegBytesPerPixel))
            return reduction;
    }
    return 0;
}

// The largest reduction, a power of two, whose picture still covers `shown`
// as a reader rounds it, down.
int coveringReduction(QSize stored, QSize shown)
{
    int reduction = 1;
    while (stored.width() >= qint64(shown.width()) * reduction * 2
           && stored.height() >= qint64(shown.height()) * reduction * 2)
        reduction *= 2;
    return reduction;
}

// The smallest reduction, a power of two, whose picture fits in `bound`.
int fittingReduction(QSize stored, QSize bound)
{
    const auto fits = [&bound](QSize size) { return size.width() <= bound.width() && size.height() <= bound.height(); };
    int reduction = 1;
    while (!bound.isEmpty() && !fits(ImageDecodeBudget::reduced(stored, reduction)))
        reduction *= 2;
    return reduction;
}

// The reduction a JPEG is read at: the largest whose picture still covers
// what is shown, to be scaled down to it, which is sharpest; where that
// picture would be large, the smallest that fits in the bound, scaled no
// further; never one the budget refuses. 0 when it refuses them all.
int jpegReduction(const JpegHeader &jpeg, QSize shown, QSize bound)
{
    const int smallest = smallestAllowedReduction(jpeg);
    if (smallest == 0)
        return 0;
    int reduction = coveringReduction(jpeg.size, shown);
    if (pixels(ImageDecodeBudget::reduced(jpeg.size, reduction)) * jpegBytesPerPixel > largestPictureToScaleDown)
        reduction = std::max(reduction, fittingReduction(jpeg.size, bound));
    return std::max(reduction, smallest);
}

// The picture as read, scaled down to the size it is shown at. A picture
// read larger takes that size exactly, whatever a reduction's rounding did
// to its shape; one read smaller stays as it is.
QImage shrunkTo(const QImage &image, QSize shown)
{
    const bool covers = image.width() >= shown.width() && image.height() >= shown.height();
    const QSize size = covers ? shown : ImageDecodeBudget::fitted(image.size(), shown);
    if (image.isNull() || size == image.size())
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The picture as stored, turned as its orientation tag asks: mirrored first,
// then a quarter clockwise, as Qt's readers do.
QImage upright(const QImage &image, QImageIOHandler::Transformations turn)
{
    if (image.isNull() || turn == QImageIOHandler::TransformationNone)
        return image;
    const QImage mirrored =
        image.mirrored(turn & QImageIOHandler::TransformationMirror, turn & QImageIOHandler::TransformationFlip);
    return turn & QImageIOHandler::TransformationRotate90 ? mirrored.transformed(QTransform().rotate(90)) : mirrored;
}

// Qt refuses anything above 128 MB by default, which is less than one 8K
// photo; the budget takes its place for every reader in the process, before
// the first picture is read, whichever it is.
void raiseAllocationLimit()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(int(ImageDecodeBudget::byteCeiling >> 20)); });
}

QImage refused(const QImageReader &reader, QSize stored, const char *why)
{
    qCWarning(lcImages) << "refused" << reader.fileName() << "of" << stored << "pixels:" << why;
    return {};
}

constexpr const char *overBudget = "even its smallest decode would hold more than the budget";

// A JPEG, by our own decoder, which libjpeg's progress monitor stops past
// the scan limit: judged by what libjpeg makes of the header, or not decoded
// at all; read as stored, reduced as the rows arrive, never held larger, and
// turned upright once shrunk. `request` and `bound` are as stored.
QImage readJpeg(const QImageReader &reader, const Source &source, QSize request, QSize bound)
{
    const QSize stored = reader.size();
    const std::optional<JpegHeader> jpeg = source.jpegHeader();
    if (!jpeg || jpeg->size != stored)
        return refused(reader, stored, "its header does not read as a JPEG's");
    const int reduction = jpegReduction(*jpeg, request, bound);
    if (reduction == 0)
        return refused(reader, stored, overBudget);
    return upright(shrunkTo(source.reducedJpeg(reduction), request), reader.transformation());
}

// A picture its reader cannot reduce: read whole, only when not much larger
// than its place, and then shrunk.
QImage readWhole(QImageReader &reader, QSize upright, QSize shown, ImageDecodeBudget::Role role)
{
    const QSize wholeBound = ImageDecodeBudget::wholeBound(role, shown);
    if (upright.width() > wholeBound.width() || upright.height() > wholeBound.height())
        return refused(reader, upright, "its reader cannot reduce it, and it is too large for its place whole");
    if (heldBytes(upright, reader.imageFormat()) > ImageDecodeBudget::byteCeiling)
        return refused(reader, upright, overBudget);
    return shrunkTo(reader.read(), shown);
}

// The bound of an embedded picture: its upright size scaled by the larger
// of the factors that make it a logo's height and a plan's width, never
// enlarged.
QSize coveringBound(QSize upright)
{
    const double factor = std::max(double(ImageDecodeBudget::planPixelWidth) / upright.width(),
                                   double(ImageDecodeBudget::logoPixelHeight) / upright.height());
    if (factor >= 1)
        return upright;
    return QSize(int(std::ceil(upright.width() * factor)), int(std::ceil(upright.height() * factor)));
}

// `boundFor` gives the bound from the picture's upright size.
QImage read(QImageReader &reader, const Source &source, const std::function<QSize(QSize)> &boundFor,
            ImageDecodeBudget::Role role)
{
    raiseAllocationLimit();
    reader.setAutoTransform(true);
    // Asked before anything is read: the reader's answer changes once it has.
    const QByteArray format = reader.format();
    const QSize stored = storedSize(reader, format, source.head);
    if (!stored.isValid())
        return refused(reader, stored, "its reader cannot tell its size before decoding it");
    if (pixels(stored) > source.pixelCeiling)
        return refused(reader, stored, "more pixels than such a picture may claim");
    if (role == ImageDecodeBudget::Role::photo && ImageDecodeBudget::isDrawing(format))
        return refused(reader, stored, "a drawing is no photo");
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? stored.transposed() : stored;
    const QSize bound = boundFor(upright);
    const QSize shown = ImageDecodeBudget::fitted(upright, bound);
    // The reader's sizes are those of the picture as stored, before it is turned.
    const QSize request = turned ? shown.transposed() : shown;
    if (format == "jpeg")
        return readJpeg(reader, source, request, turned ? bound.transposed() : bound);
    if (!readsReduced(reader, format, source.head))
        return readWhole(reader, upright, shown, role);
    if (heldBytes(shown, reader.imageFormat()) > ImageDecodeBudget::byteCeiling)
        return refused(reader, stored, overBudget);
    if (request != stored)
        reader.setScaledSize(request);
    return shrunkTo(reader.read(), shown);
}

} // namespace

namespace ImageDecodeBudget {

QSize fitted(QSize size, QSize bound)
{
    if (bound.isEmpty() || (size.width() <= bound.width() && size.height() <= bound.height()))
        return size;
    const double factor = std::min(double(bound.width()) / size.width(), double(bound.height()) / size.height());
    return QSize(std::max(1, int(std::lround(size.width() * factor))),
                 std::max(1, int(std::lround(size.height() * factor))));
}

QSize reduced(QSize size, int reduction)
{
    return QSize((size.width() + reduction - 1) / reduction, (size.height() + reduction - 1) / reduction);
}

int reductionWithin(QSize size, int maxSide)
{
    for (const int reduction : jpegReductions) {
        const QSize decoded = reduced(size, reduction);
        if (decoded.width() <= maxSide && decoded.height() <= maxSide)
            return reduction;
    }
    return 0;
}

bool allows(const JpegHeader &jpeg, int reduction, int bytesPerPixel)
{
    return jpeg.wholePictureBytes + pixels(reduced(jpeg.size, reduction)) * bytesPerPixel <= byteCeiling;
}

QSize wholeBound(Role role, QSize shown)
{
    if (role != Role::picture)
        return QSize(photoSideLimit, photoSideLimit);
    const auto times = [](int side) {
        return int(std::min<qint64>(qint64(side) * pictureWholeFactor, std::numeric_limits<int>::max()));
    };
    return QSize(times(shown.width()), times(shown.height()));
}

bool isDrawing(const QByteArray &format)
{
    return format == "svg" || format == "svgz";
}

QImage readFile(const QString &path, QSize bound, Role role)
{
    QImageReader reader(path);
    return read(reader,
                {fileHead(path), [&path] { return JpegHeader::readFile(path); },
                 [&path](int reduction) { return JpegReducedDecode::decodeFile(path, reduction); },
                 std::numeric_limits<qint64>::max()},
                [bound](QSize) { return bound; }, role);
}

QImage readData(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    return read(reader,
                {bytes.left(headLength), [&bytes] { return JpegHeader::readData(bytes); },
                 [&bytes](int reduction) { return JpegReducedDecode::decodeData(bytes, reduction); },
                 embeddedPixelCeiling},
                coveringBound, Role::picture);
}

} // namespace ImageDecodeBudget
