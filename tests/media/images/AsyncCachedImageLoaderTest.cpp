#include "TestPhotos.h"

#include "media/images/AsyncCachedImageLoader.h"
#include "media/images/LumivaneImageCache.h"

#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

namespace {

class AsyncCachedImageLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_loader.onImageLoaded = [this](const QImage &image) { m_loaded.append(image.size()); };
        m_loader.onImageChanged = [this](const QImage &image) { m_changes.append(image.size()); };
    }

    QUrl photo(const QString &name, int width, int height)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(TestPhotos::writeJpeg(path, width, height));
        return QUrl::fromLocalFile(path);
    }

    // Lets every queued decode finish and its result reach the GUI thread.
    static void settle()
    {
        LumivaneImageCache::pool()->waitForDone();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
    std::shared_ptr<LumivaneImageCache> m_cache = LumivaneImageCache::create({10, 256 << 20, 64 << 20});
    AsyncCachedImageLoader m_loader{m_cache, QSize(4096, 4096)};
    QList<QSize> m_loaded;
    QList<QSize> m_changes;
};

TEST_F(AsyncCachedImageLoaderTest, HitIsHandedOverAtOnceWithoutReadingTheFile)
{
    const QUrl url = QUrl::fromLocalFile(m_dir.filePath("never-written.jpg"));
    m_cache->store(url, QImage(40, 20, QImage::Format_RGB32));
    m_loader.setUrl(url);
    EXPECT_EQ(m_loader.image().size(), QSize(40, 20));
    EXPECT_EQ(m_loaded, QList<QSize>{QSize(40, 20)});
    settle();
    EXPECT_EQ(m_loaded.size(), 1);
}

TEST_F(AsyncCachedImageLoaderTest, MissShowsNothingThenTheDecodedPhotoAndStoresIt)
{
    const QUrl url = photo("a.jpg", 120, 60);
    m_loader.setUrl(url);
    EXPECT_TRUE(m_loader.image().isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_loader.image().isNull(); }, 5000));
    EXPECT_EQ(m_loaded, QList<QSize>{QSize(120, 60)});
    EXPECT_FALSE(m_cache->lookup(url).isNull());

    AsyncCachedImageLoader second(m_cache, QSize(4096, 4096));
    second.setUrl(url);
    EXPECT_EQ(second.image().size(), QSize(120, 60));
}

TEST_F(AsyncCachedImageLoaderTest, MissingFileAndAbsentUrlHandNothingOver)
{
    m_loader.setUrl(QUrl::fromLocalFile(m_dir.filePath("missing.jpg")));
    settle();
    EXPECT_TRUE(m_loader.image().isNull());
    m_loader.setUrl(std::nullopt);
    settle();
    EXPECT_TRUE(m_loader.image().isNull());
    EXPECT_TRUE(m_loaded.isEmpty());
    EXPECT_EQ(m_cache->usage().fullCount, 0);
}

TEST_F(AsyncCachedImageLoaderTest, NewUrlShowsPlaceholderNotThePreviousPhoto)
{
    const QUrl first = photo("first.jpg", 80, 40);
    const QUrl second = photo("second.jpg", 60, 60);
    m_cache->image(first);
    m_loader.setUrl(first);
    m_loader.setUrl(second);
    EXPECT_TRUE(m_loader.image().isNull());
    EXPECT_EQ(m_changes, (QList<QSize>{QSize(80, 40), QSize(0, 0)}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_loader.image().isNull(); }, 5000));
    EXPECT_EQ(m_loader.image().size(), QSize(60, 60));
}

TEST_F(AsyncCachedImageLoaderTest, StaleResultIsDroppedButStillCached)
{
    const QUrl slow = photo("slow.jpg", 2000, 1000);
    const QUrl current = photo("current.jpg", 50, 50);
    m_cache->image(current);
    m_loader.setUrl(slow);
    m_loader.setUrl(current);
    settle();
    EXPECT_EQ(m_loader.image().size(), QSize(50, 50));
    EXPECT_EQ(m_loaded, QList<QSize>{QSize(50, 50)});
    EXPECT_FALSE(m_cache->lookup(slow).isNull());
}

TEST_F(AsyncCachedImageLoaderTest, LoaderDeletedWhileDecodingIsSafe)
{
    const QUrl url = photo("late.jpg", 1600, 800);
    auto loader = std::make_unique<AsyncCachedImageLoader>(m_cache, QSize(4096, 4096));
    bool called = false;
    loader->onImageLoaded = [&called](const QImage &) { called = true; };
    loader->setUrl(url);
    loader.reset();
    settle();
    EXPECT_FALSE(called);
    EXPECT_FALSE(m_cache->lookup(url).isNull());
}

} // namespace
