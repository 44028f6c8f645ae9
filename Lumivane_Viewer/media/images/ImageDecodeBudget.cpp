#include "ImageDecodeBudget.h"

#include "ImagePagePopulator.h"
#include "JpegReducedDecode.h"
#include "JpegScans.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>

namespace {

Q_LOGGING_CATEGORY(lcImages, "lumivane.images")

// What Qt's readers decode into: 32 bits a pixel.
constexpr int readerBytesPerPixel = 4;
// Past this, a picture read larger than it is shown, to be scaled down,
// holds more memory than the detail it gains is worth.
constexpr qint64 largestPictureToScaleDown = ImageDecodeBudget::byteCeiling / 4;

qint64 pixels(QSize size)
{
    return qint64(size.width()) * size.height();
}

// A picture as both Qt's reader and our own JPEG decoder read it, and the
// most pixels it may claim.
struct Source
{
    std::function<std::optional<JpegHeader>()> jpegHeader;
    std::function<int(int limit)> jpegScans;
    std::function<QImage(int reduction)> reducedJpeg;
    qint64 pixelCeiling;
};

// The smallest DCT reduction whose decode stays within the ceiling; 0 when none does.
int smallestAllowedReduction(const JpegHeader &jpeg)
{
    for (const int reduction : ImageDecodeBudget::jpegReductions) {
        if (ImageDecodeBudget::allows(jpeg, reduction, readerBytesPerPixel))
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
    if (pixels(ImageDecodeBudget::reduced(jpeg.size, reduction)) * readerBytesPerPixel > largestPictureToScaleDown)
        reduction = std::max(reduction, fittingReduction(jpeg.size, bound));
    return std::max(reduction, smallest);
}

// Large JPEGs read whole: the destination is allocated up front in the
// format the decoder reports, which makes the JPEG reader decode into it,
// and its pages are mapped on a second thread while the decoder runs.
QImage readWhole(QImageReader &reader, QSize size)
{
    const QImage::Format format = reader.imageFormat();
    const bool large = pixels(size) * readerBytesPerPixel >= ImagePagePopulator::worthASecondThread;
    if (!large || reader.format() != "jpeg" || format == QImage::Format_Invalid)
        return reader.read();
    QImage image(size, format);
    if (image.isNull())
        return {};
    bool read = false;
    {
        const ImagePagePopulator populator(image);
        read = reader.read(&image);
    }
    return read ? image : QImage();
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

QImage read(QImageReader &reader, const Source &source, QSize bound)
{
    raiseAllocationLimit();
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    // A format that cannot tell its size without decoding: the allocation
    // limit is all that bounds it.
    if (!stored.isValid()) {
        const QImage whole = reader.read();
        return shrunkTo(whole, ImageDecodeBudget::fitted(whole.size(), bound));
    }
    if (pixels(stored) > source.pixelCeiling)
        return refused(reader, stored, "more pixels than such a picture may claim");
    const QImageIOHandler::Transformations turn = reader.transformation();
    const bool turned = turn & QImageIOHandler::TransformationRotate90;
    const QSize shown = ImageDecodeBudget::fitted(turned ? stored.transposed() : stored, bound);
    // The reader's sizes are those of the picture as stored, before it is turned.
    QSize request = turned ? shown.transposed() : shown;
    if (reader.format() == "jpeg") {
        // Judged by what libjpeg makes of the header, or not decoded at all.
        const std::optional<JpegHeader> jpeg = source.jpegHeader();
        if (!jpeg || jpeg->size != stored)
            return refused(reader, stored, "its header does not read as a JPEG's");
        const int reduction = jpegReduction(*jpeg, request, turned ? bound.transposed() : bound);
        if (reduction == 0)
            return refused(reader, stored, overBudget);
        // Read as stored: reduced as the rows arrive, never held larger.
        if (turn == QImageIOHandler::TransformationNone && !jpeg->cmyk)
            return shrunkTo(source.reducedJpeg(reduction), shown);
        // Turned or CMYK: Qt's reader, which walks every scan it is given.
        if (source.jpegScans(ImageDecodeBudget::scanLimit) > ImageDecodeBudget::scanLimit)
            return refused(reader, stored, "more scans than a decode may walk");
        // At exactly that reduction unless it covers what is shown (sizes
        // rounded down, as the reader divides).
        const int dctReduction = std::min(reduction, ImageDecodeBudget::jpegReductions.back());
        if (dctReduction != coveringReduction(stored, request))
            request = QSize(std::max(1, stored.width() / dctReduction), std::max(1, stored.height() / dctReduction));
    } else if (pixels(stored) * readerBytesPerPixel > ImageDecodeBudget::byteCeiling) {
        return refused(reader, stored, overBudget);
    }
    if (request == stored)
        return shrunkTo(readWhole(reader, stored), shown);
    reader.setScaledSize(request);
    // Decoders that cannot reduce while reading hand back the whole picture.
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

QImage readFile(const QString &path, QSize bound)
{
    QImageReader reader(path);
    const auto scans = [&path](int limit) {
        QFile file(path);
        const uchar *mapped = file.open(QIODevice::ReadOnly) ? file.map(0, file.size()) : nullptr;
        // Unmapped (empty or unreadable): nothing for the reader to walk either.
        return mapped ? JpegScans::count(QByteArrayView(mapped, file.size()), limit) : 0;
    };
    return read(reader,
                {[&path] { return JpegHeader::readFile(path); }, scans,
                 [&path](int reduction) { return JpegReducedDecode::decodeFile(path, reduction); },
                 std::numeric_limits<qint64>::max()},
                bound);
}

QImage readData(const QByteArray &bytes, QSize bound)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    return read(reader,
                {[&bytes] { return JpegHeader::readData(bytes); },
                 [&bytes](int limit) { return JpegScans::count(bytes, limit); },
                 [&bytes](int reduction) { return JpegReducedDecode::decodeData(bytes, reduction); },
                 embeddedPixelCeiling},
                bound);
}

} // namespace ImageDecodeBudget
