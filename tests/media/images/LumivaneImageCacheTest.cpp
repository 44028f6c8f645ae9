#include "TestPhotos.h"

#include "media/images/LumivaneImageCache.h"
#include "tests/support/CaseName.h"

#include <QFile>
#include <QGuiApplication>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr quint64 GiB = quint64(1) << 30;

struct CountLimitCase
{
    quint64 memory;
    int expected;
};

class FullCountLimit : public ::testing::TestWithParam<CountLimitCase>
{
};

TEST_P(FullCountLimit, FollowsPhysicalMemory)
{
    EXPECT_EQ(LumivaneImageCache::fullCountLimitFor(GetParam().memory), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Memory, FullCountLimit,
                         ::testing::Values(CountLimitCase{0, 10}, CountLimitCase{2 * GiB, 10},
                                           CountLimitCase{4 * GiB, 12}, CountLimitCase{8 * GiB, 25},
                                           CountLimitCase{12 * GiB, 38}, CountLimitCase{16 * GiB, 50},
                                           CountLimitCase{64 * GiB, 50}),
                         [](const auto &info) {
                             return caseName(QStringLiteral("%1 GiB").arg(info.param.memory / GiB));
                         });

TEST(ImageCacheLimits, ByteBudgetsAreSharesOfMemory)
{
    const auto limits = LumivaneImageCache::limitsForPhysicalMemory(8 * GiB);
    EXPECT_EQ(limits.fullCountLimit, 25);
    EXPECT_EQ(limits.fullByteBudget, qint64(8 * GiB * 15 / 100));
    EXPECT_GT(limits.thumbnailByteBudget, 0);
    EXPECT_LT(limits.thumbnailByteBudget, limits.fullByteBudget);
}

TEST(ImageCacheKeys, AreTheEncodedUrlAndSize)
{
    const QUrl url = QUrl::fromLocalFile("/tmp/tour photos/Salon é.jpg");
    EXPECT_EQ(LumivaneImageCache::key(url), "file:///tmp/tour%20photos/Salon%20%C3%A9.jpg");
    EXPECT_EQ(LumivaneImageCache::lowResKey(url, 2048), LumivaneImageCache::key(url) + "#lr2048");
    EXPECT_EQ(LumivaneImageCache::lowResKey(url, -5), LumivaneImageCache::key(url) + "#lr-5");
    // Two spellings of one file are two entries.
    EXPECT_NE(LumivaneImageCache::key(QUrl::fromLocalFile("/tmp/a.jpg")),
              LumivaneImageCache::key(QUrl::fromLocalFile("/tmp/./a.jpg")));
}

class ImageCacheTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QUrl photo(const QString &name, int width, int height)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(TestPhotos::writeJpeg(path, width, height));
        return QUrl::fromLocalFile(path);
    }

    std::shared_ptr<LumivaneImageCache> m_cache = LumivaneImageCache::create({10, 512 << 20, 64 << 20});
    QTemporaryDir m_dir;
};

TEST_F(ImageCacheTest, ImageIsDecodedOnceThenServedFromTheStore)
{
    const QUrl url = photo("a.jpg", 300, 200);
    const QImage first = m_cache->image(url);
    ASSERT_EQ(first.size(), QSize(300, 200));
    EXPECT_FALSE(m_cache->lookup(url).isNull());
    EXPECT_EQ(m_cache->image(url).cacheKey(), first.cacheKey());
}

TEST_F(ImageCacheTest, OpaquePhotosAreKeptAsRgbAndOthersAsTheyCame)
{
    const QUrl url = photo("a.jpg", 300, 200);
    const QImage decoded = m_cache->image(url);
    EXPECT_EQ(decoded.format(), QImage::Format_RGB888);
    EXPECT_EQ(m_cache->usage().fullBytes, 300 * 200 * 3);

    QImage opaque(40, 20, QImage::Format_RGB32);
    opaque.fill(qRgb(10, 20, 30));
    const QUrl stored = QUrl::fromLocalFile(m_dir.filePath("stored.jpg"));
    m_cache->store(stored, opaque);
    EXPECT_EQ(m_cache->lookup(stored).format(), QImage::Format_RGB888);
    EXPECT_EQ(m_cache->lookup(stored).pixel(5, 5), qRgb(10, 20, 30));
    EXPECT_EQ(opaque.format(), QImage::Format_RGB32) << "the caller's copy stays as it was";

    QImage translucent(40, 20, QImage::Format_ARGB32_Premultiplied);
    translucent.fill(qRgba(0, 0, 0, 0));
    m_cache->store(stored, translucent);
    EXPECT_EQ(m_cache->lookup(stored).format(), QImage::Format_ARGB32_Premultiplied);
}

TEST_F(ImageCacheTest, FailedDecodeIsNotStoredAndReplacedFileThenLoads)
{
    const QString path = m_dir.filePath("broken.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image");
    file.close();
    const QUrl url = QUrl::fromLocalFile(path);

    EXPECT_TRUE(m_cache->image(url).isNull());
    EXPECT_TRUE(m_cache->lowResImage(url, 512).isNull());
    EXPECT_EQ(m_cache->usage().fullCount, 0);
    EXPECT_EQ(m_cache->usage().thumbnailCount, 0);
    EXPECT_TRUE(m_cache->image(QUrl::fromLocalFile(m_dir.filePath("missing.jpg"))).isNull());

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(TestPhotos::writeJpeg(path, 64, 32));
    EXPECT_EQ(m_cache->image(url).size(), QSize(64, 32));
}

TEST_F(ImageCacheTest, ThumbnailPerSizeAndNeverLarger)
{
    const QUrl url = photo("wide.jpg", 4000, 2000);
    EXPECT_EQ(m_cache->lowResImage(url, 1024).size(), QSize(1024, 512));
    EXPECT_EQ(m_cache->lowResImage(url, 2048).size(), QSize(2048, 1024));
    EXPECT_EQ(m_cache->lowResImage(url, 8000).size(), QSize(4000, 2000));
    EXPECT_TRUE(m_cache->lowResImage(url, 0).isNull());
    EXPECT_EQ(m_cache->usage().thumbnailCount, 3);
    EXPECT_EQ(m_cache->usage().fullCount, 0);
}

TEST_F(ImageCacheTest, OrientationTaggedPortraitGivesUprightImages)
{
    // Stored landscape with the red half on top; the tag turns it a quarter
    // clockwise, so upright it is portrait with the red half on the right.
    const QString path = m_dir.filePath("portrait.jpg");
    ASSERT_TRUE(TestPhotos::writeJpegTaggedToTurn(path, TestPhotos::pattern(400, 300)));
    const QUrl url = QUrl::fromLocalFile(path);

    const QImage thumbnail = m_cache->lowResImage(url, 200);
    ASSERT_EQ(thumbnail.size(), QSize(150, 200));
    EXPECT_GT(qRed(thumbnail.pixel(140, 100)), 180);
    EXPECT_LT(qGreen(thumbnail.pixel(140, 100)), 60);
    EXPECT_EQ(m_cache->image(url).size(), QSize(300, 400));
}

TEST_F(ImageCacheTest, DeactivationEmptiesOnlyTheFullStore)
{
    const QUrl url = photo("a.jpg", 120, 60);
    m_cache->image(url);
    m_cache->lowResImage(url, 64);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(m_cache->usage().fullCount, 1);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(m_cache->usage().fullCount, 0);
    EXPECT_EQ(m_cache->usage().thumbnailCount, 1);
}

TEST_F(ImageCacheTest, PrefetchFillsBothStoresUnlessTheFullImageIsStored)
{
    const QUrl url = photo("big.jpg", 3000, 1500);
    m_cache->lowResImage(url, LumivaneImageCache::prefetchThumbnailSize);
    m_cache->prefetch(url);
    LumivaneImageCache::pool()->waitForDone();
    EXPECT_FALSE(m_cache->lookup(url).isNull());
    EXPECT_EQ(m_cache->usage().thumbnailCount, 1);

    const QUrl other = photo("other.jpg", 100, 50);
    m_cache->store(other, QImage(10, 10, QImage::Format_RGB32));
    m_cache->prefetch(other);
    LumivaneImageCache::pool()->waitForDone();
    EXPECT_EQ(m_cache->usage().thumbnailCount, 1);
}

TEST_F(ImageCacheTest, PrefetchKeepsThePhotoAsItIsShown)
{
    const QUrl url = photo("big.jpg", 3000, 1500);
    m_cache->prefetch(url, QSize(1000, 1000));
    LumivaneImageCache::pool()->waitForDone();
    EXPECT_EQ(m_cache->lookup(url).size(), QSize(1000, 500));
    EXPECT_EQ(m_cache->lowResImage(url, LumivaneImageCache::prefetchThumbnailSize).size(), QSize(2048, 1024));
}

TEST_F(ImageCacheTest, PrefetchTaskDoesNotKeepTheCacheAlive)
{
    const QUrl url = photo("a.jpg", 200, 100);
    std::weak_ptr<LumivaneImageCache> weak = m_cache;
    m_cache->prefetch(url);
    m_cache.reset();
    LumivaneImageCache::pool()->waitForDone();
    EXPECT_TRUE(weak.expired());
}

TEST_F(ImageCacheTest, PhotoAboveQtsDefaultAllocationLimitDecodes)
{
    // 8400 x 4200 x 4 bytes is above Qt's default 128 MB.
    const QUrl url = photo("huge.jpg", 8400, 4200);
    EXPECT_EQ(m_cache->image(url).size(), QSize(8400, 4200));
    EXPECT_EQ(m_cache->lowResImage(url, 2048).size(), QSize(2048, 1024));
}

TEST(ImageCacheStore, CountLimitAndByteBudgetBothHold)
{
    const QImage tile(100, 100, QImage::Format_RGB32); // 40,000 bytes
    ImageCacheStore byCount(3, 1 << 30);
    ImageCacheStore byBytes(0, 100'000);
    for (int i = 0; i < 10; ++i) {
        byCount.setObject(tile, QString::number(i));
        byBytes.setObject(tile, QString::number(i));
    }
    EXPECT_EQ(byCount.count(), 3);
    EXPECT_EQ(byBytes.count(), 2);
    EXPECT_EQ(byBytes.totalBytes(), 80'000);
    // Oldest leave first; a look-up counts as use.
    EXPECT_TRUE(byCount.contains("9"));
    EXPECT_FALSE(byCount.contains("6"));
    byCount.object("7");
    byCount.setObject(tile, "10");
    EXPECT_TRUE(byCount.contains("7"));
    EXPECT_FALSE(byCount.contains("8"));
}

TEST(ImageCacheStore, ReplacingAndOversizedEntries)
{
    ImageCacheStore store(0, 100'000);
    store.setObject(QImage(100, 100, QImage::Format_RGB32), "a");
    store.setObject(QImage(50, 50, QImage::Format_RGB32), "a");
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.totalBytes(), 10'000);
    store.setObject(QImage(200, 200, QImage::Format_RGB32), "a");
    EXPECT_FALSE(store.contains("a"));
    EXPECT_EQ(store.totalBytes(), 0);
}

TEST_F(ImageCacheTest, ThreadsRacingOnOneKeyStayConsistent)
{
    const QUrl url = photo("race.jpg", 400, 200);
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([cache = m_cache, url, t, &failures] {
            for (int i = 0; i < 40; ++i) {
                if (cache->image(url).size() != QSize(400, 200))
                    ++failures;
                if (cache->lowResImage(url, 100 + (i % 3)).isNull())
                    ++failures;
                if ((i + t) % 7 == 0)
                    cache->emptyFullImageStore();
                cache->lookup(url);
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
    EXPECT_LE(m_cache->usage().fullCount, 1);
    EXPECT_EQ(m_cache->usage().thumbnailCount, 3);
}

// A decode for the store that holds on until the test lets it end, with a
// photo of its own that no decode of the file could give.
class HeldDecode
{
public:
    HeldDecode(std::shared_ptr<LumivaneImageCache> cache, const QUrl &url)
        : m_thread([this, cache, url] {
            m_result = cache->decodeOnce(url, [this] {
                m_started.release();
                m_end.acquire();
                return photo();
            });
        })
    {
        m_started.acquire();
    }
    ~HeldDecode() { end(); }

    static QImage photo()
    {
        QImage image(7, 5, QImage::Format_RGB888);
        image.fill(Qt::darkCyan);
        return image;
    }
    QImage end()
    {
        if (m_thread.joinable()) {
            m_end.release();
            m_thread.join();
        }
        return m_result;
    }

private:
    QSemaphore m_started;
    QSemaphore m_end;
    QImage m_result;
    std::thread m_thread;
};

TEST_F(ImageCacheTest, APhotoAskedForWhileItDecodesIsDecodedOnceAndAPrefetchLeavesIt)
{
    const QUrl url = photo("once.jpg", 300, 200);
    HeldDecode held(m_cache, url);

    // A prefetch neither waits nor decodes the photo again; its thumbnail is its own.
    m_cache->prefetch(url);
    EXPECT_TRUE(LumivaneImageCache::pool()->waitForDone(10000)) << "the prefetch waits for the decode";
    EXPECT_TRUE(m_cache->lookup(url).isNull());
    EXPECT_EQ(m_cache->usage().thumbnailCount, 1);

    // Another asker waits for the decode under way and gets its photo.
    QImage waited;
    std::atomic<bool> answered = false;
    std::thread other([&] {
        waited = m_cache->image(url);
        answered = true;
    });
    QThread::msleep(50);
    EXPECT_FALSE(answered) << "still waiting";
    EXPECT_EQ(held.end().size(), QSize(7, 5));
    other.join();
    EXPECT_EQ(waited.size(), QSize(7, 5));
    EXPECT_EQ(m_cache->lookup(url).size(), QSize(7, 5));

    // Once it has ended, a photo the store let go is decoded again.
    m_cache->emptyFullImageStore();
    EXPECT_EQ(m_cache->image(url).size(), QSize(300, 200));
}

TEST(ImageCacheShared, IsOneInstanceWithMachineLimits)
{
    const auto shared = LumivaneImageCache::shared();
    EXPECT_EQ(shared, LumivaneImageCache::shared());
    EXPECT_EQ(shared->limits().fullCountLimit,
              LumivaneImageCache::fullCountLimitFor(LumivaneImageCache::physicalMemory()));
}

} // namespace
