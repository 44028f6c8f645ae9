#pragma once

#include "ImageCacheStore.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QImage>
#include <QString>
#include <QUrl>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QThreadPool;

/// The store of decoded station photos (full-image store) and their
/// downsampled copies (thumbnail store), safe to call from any thread. It
/// alone decides where a photo is kept: callers look photos up and hand in
/// what they decoded themselves, by URL. image() and lowResImage() decode on
/// the calling thread; prefetch() decodes on the cache's own thread pool. A
/// photo asked for from several sides at once is decoded once: the others
/// wait for that decode, or leave it when they only prefetch. Knows nothing
/// of stations or views.
class LumivaneImageCache final : public std::enable_shared_from_this<LumivaneImageCache>
{
public:
    /// Bounds of the two stores; the thumbnail store has no count limit.
    struct Limits
    {
        int fullCountLimit = 10;
        qint64 fullByteBudget = 0;
        qint64 thumbnailByteBudget = 0;
    };

    /// What the two stores hold now.
    struct Usage
    {
        int fullCount = 0;
        qint64 fullBytes = 0;
        int thumbnailCount = 0;
        qint64 thumbnailBytes = 0;
    };

    /// Queue priorities on pool(): what a visitor waits for goes first.
    static constexpr int userInitiatedPriority = 10;
    static constexpr int utilityPriority = 0;
    /// Longer side of the thumbnail that prefetch() makes.
    static constexpr int prefetchThumbnailSize = 2048;

    /// The one instance of the process, created on first use from any thread.
    /// Only the application asks for it; views are handed a cache.
    static std::shared_ptr<LumivaneImageCache> shared();
    /// A separate instance, for tests and benchmarks.
    static std::shared_ptr<LumivaneImageCache> create(const Limits &limits);

    static Limits limitsForPhysicalMemory(quint64 physicalMemoryBytes);
    static int fullCountLimitFor(quint64 physicalMemoryBytes);
    static quint64 physicalMemory();

    /// The pool every photo decode of the media engines runs on.
    static QThreadPool *pool();
    /// Ends the pool's work before the process does: decodes not yet started
    /// are dropped, our own JPEG decoder stops at its next row, a running
    /// prefetch stops after the step it is on, and the rest (a decode by
    /// Qt's readers, a read stuck on a stalled disk) is waited for until
    /// `deadline`. True when no decode runs any more. Runs by itself, without
    /// a deadline, while the QCoreApplication is destroyed (after the
    /// application's windows, before the image plugins and statics that
    /// decoding uses go), so that no decode outlives them. Our JPEG decoder
    /// and every prefetch stay short for the rest of the process.
    static bool finishDecoding(QDeadlineTimer deadline);

    static QString key(const QUrl &url);
    static QString lowResKey(const QUrl &url, int maxPixelSize);

    /// Decodes a station's photo file upright at no more pixels than fit in
    /// `bound` (empty: its own size) by ImageDecodeBudget's rule for photos; null
    /// when it is missing, not an image, or refused by the budget. Stores
    /// nothing.
    static QImage decodeFile(const QString &path, QSize bound);
    /// Decodes a picture file upright with its longer side at most
    /// maxPixelSize pixels, letting the decoder skip the detail it would
    /// throw away, by the budget's rule for pictures shown small.
    static QImage decodeThumbnail(const QString &path, int maxPixelSize);

    /// The full-size image of url in the full-image store; null when it holds
    /// none. A look-up only, never a file read.
    QImage lookup(const QUrl &url) const;
    /// How the full-image store keeps a photo: an opaque 32-bit image as
    /// 24-bit RGB, a quarter smaller; anything else as it is.
    static QImage storedForm(QImage image);

    /// Keeps a full-size image of url that the caller decoded itself, in its
    /// stored form; a null image keeps nothing.
    void store(const QUrl &url, const QImage &image);
    /// The photo of a file URL as shown, from the full-image store or decoded
    /// now at no more pixels than fit in `bound` (empty: its own size, as far
    /// as a decode may hold it) and stored (in its stored form); null when the
    /// file gives no image. A stored photo is handed back whatever bound it
    /// was decoded for: one tour shows a photo in one kind of view.
    QImage image(const QUrl &url, QSize bound = QSize());
    /// image() with a decode of the caller's own, run on the calling thread
    /// unless the full-image store holds the photo; while another thread
    /// decodes the same photo for the store, that decode's photo once it
    /// ends instead of a decode here. Null when the decode gives none.
    QImage decodeOnce(const QUrl &url, const std::function<QImage()> &decode);
    /// A copy of at most maxPixelSize pixels on its longer side, from the
    /// thumbnail store or decoded now and stored; null when none can be made.
    QImage lowResImage(const QUrl &url, int maxPixelSize);
    /// Fills both stores for url in the background unless the full-image
    /// store already holds it, the full image within `bound` as image() does
    /// unless another decode of it is under way by then. Returns at once.
    void prefetch(const QUrl &url, QSize bound = QSize());

    /// Lets every full-size image go; thumbnails stay.
    void emptyFullImageStore();

    Usage usage() const;
    const Limits &limits() const { return m_limits; }

private:
    // Only create() and shared() build instances; make_shared needs a public constructor.
    struct Token
    {
        explicit Token() = default;
    };

public:
    LumivaneImageCache(Token, const Limits &limits);

private:
    /// A decode of a full-size photo for the store, and its photo once it ends.
    struct Decoding
    {
        bool ended = false;
        QImage image;
    };
    /// What wanting a photo that another thread may be decoding comes to.
    enum class UnderWay { wait, leave };

    void emptyOnDeactivation();
    /// decodeOnce(), or, with UnderWay::leave, a null image at once where
    /// another decode of the photo is under way.
    QImage decodeShared(const QUrl &url, UnderWay underWay, const std::function<QImage()> &decode);

    const Limits m_limits;
    ImageCacheStore m_cache;
    ImageCacheStore m_lowResCache;
    std::mutex m_decodingMutex;
    std::condition_variable m_decodingEnded;
    QHash<QString, std::shared_ptr<Decoding>> m_decoding;
};
