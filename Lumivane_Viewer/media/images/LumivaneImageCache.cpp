#include "LumivaneImageCache.h"

#include "ImagePagePopulator.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QThreadPool>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>

namespace {

constexpr double kFullStoreShare = 0.15;
constexpr double kThumbnailStoreShare = 0.05;
constexpr double kBytesPerCountedPhoto = 50'000'000.0;
constexpr int kMinFullCount = 10;
constexpr int kMaxFullCount = 50;
constexpr qint64 kBytesPerPixel = 4;

// Set once the process has begun to end its decoding: prefetches stop early.
std::atomic<bool> s_finishing{false};

void finishDecodingAtExit()
{
    LumivaneImageCache::finishDecoding(QDeadlineTimer::Forever);
}

// Qt refuses anything above 128 MB by default, which is less than one 8K
// photo; our own ceiling takes its place for every reader in the process.
void raiseAllocationLimit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QImageReader::setAllocationLimit(int(LumivaneImageCache::decodeByteCeiling >> 20));
    });
}

// Halves the size until the decoded image fits under the ceiling; halving
// lets a JPEG decoder scale in its DCT stage instead of allocating it whole.
QSize sizeUnderCeiling(QSize size)
{
    int shift = 0;
    const auto bytesAt = [&](int s) {
        return qint64((size.width() + (1 << s) - 1) >> s) * ((size.height() + (1 << s) - 1) >> s)
            * kBytesPerPixel;
    };
    while (bytesAt(shift) > LumivaneImageCache::decodeByteCeiling)
        ++shift;
    const int divisor = 1 << shift;
    return QSize((size.width() + divisor - 1) / divisor, (size.height() + divisor - 1) / divisor);
}

QSize fittedSize(QSize size, int maxPixelSize)
{
    const int longer = std::max(size.width(), size.height());
    if (longer <= maxPixelSize)
        return size;
    const double factor = double(maxPixelSize) / longer;
    return QSize(std::max(1, int(std::lround(size.width() * factor))),
                 std::max(1, int(std::lround(size.height() * factor))));
}

QImage readWith(QImageReader &reader)
{
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

// Large JPEGs: the destination is allocated up front in the format the
// decoder reports, which makes the JPEG reader decode into it, and its pages
// are mapped on a second thread while the decoder runs.
QImage readLargeWith(QImageReader &reader, QSize size)
{
    const QImage::Format format = reader.imageFormat();
    const bool large = qint64(size.width()) * size.height() * kBytesPerPixel >= ImagePagePopulator::worthASecondThread;
    if (!large || reader.format() != "jpeg" || format == QImage::Format_Invalid)
        return readWith(reader);
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

} // namespace

LumivaneImageCache::LumivaneImageCache(Token, const Limits &limits)
    : m_limits(limits)
    , m_cache(limits.fullCountLimit, limits.fullByteBudget)
    , m_lowResCache(0, limits.thumbnailByteBudget)
{
    raiseAllocationLimit();
}

std::shared_ptr<LumivaneImageCache> LumivaneImageCache::shared()
{
    static const std::shared_ptr<LumivaneImageCache> instance =
        create(limitsForPhysicalMemory(physicalMemory()));
    return instance;
}

std::shared_ptr<LumivaneImageCache> LumivaneImageCache::create(const Limits &limits)
{
    auto cache = std::make_shared<LumivaneImageCache>(Token{}, limits);
    cache->emptyOnDeactivation();
    return cache;
}

LumivaneImageCache::Limits LumivaneImageCache::limitsForPhysicalMemory(quint64 physicalMemoryBytes)
{
    return Limits{fullCountLimitFor(physicalMemoryBytes),
                  qint64(double(physicalMemoryBytes) * kFullStoreShare),
                  qint64(double(physicalMemoryBytes) * kThumbnailStoreShare)};
}

int LumivaneImageCache::fullCountLimitFor(quint64 physicalMemoryBytes)
{
    const double photos = std::trunc(double(physicalMemoryBytes) * kFullStoreShare / kBytesPerCountedPhoto);
    return int(std::clamp(photos, double(kMinFullCount), double(kMaxFullCount)));
}

quint64 LumivaneImageCache::physicalMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0 ? quint64(pages) * quint64(pageSize) : 0;
}

QThreadPool *LumivaneImageCache::pool()
{
    // Shared by all instances and never owned by one: a task may hold the
    // last reference to a cache, and a pool cannot be destroyed by its own task.
    static QThreadPool decodePool;
    // A static pool's destructor would run its whole queue during the exit
    // handlers, beside the unloading of the image plugins that decode: the
    // pool is emptied while the application object goes, before them.
    static const bool finishedWithTheApplication = [] {
        qAddPostRoutine(finishDecodingAtExit);
        return true;
    }();
    Q_UNUSED(finishedWithTheApplication);
    return &decodePool;
}

bool LumivaneImageCache::finishDecoding(QDeadlineTimer deadline)
{
    s_finishing = true;
    pool()->clear();
    return pool()->waitForDone(int(std::min<qint64>(deadline.remainingTime(), std::numeric_limits<int>::max())));
}

QString LumivaneImageCache::key(const QUrl &url)
{
    return url.toString(QUrl::FullyEncoded);
}

QString LumivaneImageCache::lowResKey(const QUrl &url, int maxPixelSize)
{
    return key(url) + QStringLiteral("#lr") + QString::number(maxPixelSize);
}

QImage LumivaneImageCache::decodeFile(const QString &path)
{
    raiseAllocationLimit();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid())
        return readWith(reader);
    if (qint64(size.width()) * size.height() * kBytesPerPixel > decodeByteCeiling) {
        reader.setScaledSize(sizeUnderCeiling(size));
        return readWith(reader);
    }
    return readLargeWith(reader, size);
}

QImage LumivaneImageCache::decodeThumbnail(const QString &path, int maxPixelSize)
{
    if (maxPixelSize <= 0)
        return {};
    raiseAllocationLimit();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid())
        return {};
    reader.setScaledSize(fittedSize(sizeUnderCeiling(size), maxPixelSize));
    QImage image = readWith(reader);
    // Decoders that cannot scale while reading hand back the whole image.
    if (!image.isNull() && std::max(image.width(), image.height()) > maxPixelSize)
        image = image.scaled(fittedSize(image.size(), maxPixelSize), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    return image;
}

QImage LumivaneImageCache::lookup(const QUrl &url) const
{
    return m_cache.object(key(url));
}

QImage LumivaneImageCache::storedForm(QImage image)
{
    // Converted in place when nobody else holds the image.
    if (image.depth() == 32 && !image.hasAlphaChannel())
        image.convertTo(QImage::Format_RGB888);
    return image;
}

void LumivaneImageCache::store(const QUrl &url, const QImage &image)
{
    if (!image.isNull())
        m_cache.setObject(storedForm(image), key(url));
}

QImage LumivaneImageCache::image(const QUrl &url)
{
    if (QImage cached = lookup(url); !cached.isNull())
        return cached;
    QImage decoded = storedForm(decodeFile(url.toLocalFile()));
    store(url, decoded);
    return decoded;
}

QImage LumivaneImageCache::lowResImage(const QUrl &url, int maxPixelSize)
{
    const QString thumbnailKey = lowResKey(url, maxPixelSize);
    if (QImage cached = m_lowResCache.object(thumbnailKey); !cached.isNull())
        return cached;
    QImage thumbnail = decodeThumbnail(url.toLocalFile(), maxPixelSize);
    if (!thumbnail.isNull())
        m_lowResCache.setObject(thumbnail, thumbnailKey);
    return thumbnail;
}

void LumivaneImageCache::prefetch(const QUrl &url)
{
    if (m_cache.contains(key(url)))
        return;
    pool()->start(
        [weak = weak_from_this(), url] {
            if (auto cache = weak.lock())
                cache->lowResImage(url, prefetchThumbnailSize);
            if (s_finishing)
                return;
            if (auto cache = weak.lock())
                cache->image(url);
        },
        utilityPriority);
}

void LumivaneImageCache::emptyFullImageStore()
{
    m_cache.removeAllObjects();
}

LumivaneImageCache::Usage LumivaneImageCache::usage() const
{
    return Usage{m_cache.count(), m_cache.totalBytes(), m_lowResCache.count(), m_lowResCache.totalBytes()};
}

void LumivaneImageCache::emptyOnDeactivation()
{
    auto *application = qGuiApp;
    if (!application)
        return;
    // qGuiApp as context: delivered on the GUI thread whichever thread created
    // the cache. The weak reference never keeps a cache alive.
    QObject::connect(application, &QGuiApplication::applicationStateChanged, application,
                     [weak = weak_from_this()](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             return;
                         if (auto cache = weak.lock())
                             cache->emptyFullImageStore();
                     });
}
