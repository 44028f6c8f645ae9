#include "LumivaneImageCache.h"

#include "ImageDecodeBudget.h"
#include "JpegDecompression.h"

#include <QGuiApplication>
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

// Set once the process has begun to end its decoding: prefetches stop early.
std::atomic<bool> s_finishing{false};

void finishDecodingAtExit()
{
    LumivaneImageCache::finishDecoding(QDeadlineTimer::Forever);
}

} // namespace

LumivaneImageCache::LumivaneImageCache(Token, const Limits &limits)
    : m_limits(limits)
    , m_cache(limits.fullCountLimit, limits.fullByteBudget)
    , m_lowResCache(0, limits.thumbnailByteBudget)
{
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
    JpegDecompression::stopAll();
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

QImage LumivaneImageCache::decodeFile(const QString &path, QSize bound)
{
    return ImageDecodeBudget::readFile(path, bound, ImageDecodeBudget::Role::photo);
}

QImage LumivaneImageCache::decodeThumbnail(const QString &path, int maxPixelSize)
{
    if (maxPixelSize <= 0)
        return {};
    return ImageDecodeBudget::readFile(path, QSize(maxPixelSize, maxPixelSize), ImageDecodeBudget::Role::picture);
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

QImage LumivaneImageCache::image(const QUrl &url, QSize bound)
{
    return decodeOnce(url, [&url, bound] { return decodeFile(url.toLocalFile(), bound); });
}

QImage LumivaneImageCache::decodeOnce(const QUrl &url, const std::function<QImage()> &decode)
{
    return decodeShared(url, UnderWay::wait, decode);
}

QImage LumivaneImageCache::decodeShared(const QUrl &url, UnderWay underWay, const std::function<QImage()> &decode)
{
    if (QImage cached = lookup(url); !cached.isNull())
        return cached;
    const QString photoKey = key(url);
    std::shared_ptr<Decoding> decoding;
    {
        std::unique_lock lock(m_decodingMutex);
        if (const std::shared_ptr<Decoding> running = m_decoding.value(photoKey)) {
            if (underWay == UnderWay::leave)
                return {};
            m_decodingEnded.wait(lock, [&running] { return running->ended; });
            return running->image;
        }
        // Stored while this thread waited for the lock: nothing to decode.
        if (QImage cached = lookup(url); !cached.isNull())
            return cached;
        decoding = std::make_shared<Decoding>();
        m_decoding.insert(photoKey, decoding);
    }
    QImage decoded = storedForm(decode());
    store(url, decoded);
    {
        const std::lock_guard lock(m_decodingMutex);
        decoding->ended = true;
        decoding->image = decoded;
        m_decoding.remove(photoKey);
    }
    m_decodingEnded.notify_all();
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

void LumivaneImageCache::prefetch(const QUrl &url, QSize bound)
{
    if (m_cache.contains(key(url)))
        return;
    pool()->start(
        [weak = weak_from_this(), url, bound] {
            if (auto cache = weak.lock())
                cache->lowResImage(url, prefetchThumbnailSize);
            if (s_finishing)
                return;
            // A view decoding the photo meanwhile keeps it in the store itself.
            if (auto cache = weak.lock()) {
                cache->decodeShared(url, UnderWay::leave,
                                    [&url, bound] { return decodeFile(url.toLocalFile(), bound); });
            }
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
