#include "PanoramaFixtures.h"

#include "media/panorama/PanoramaPhotoUpload.h"
#include "media/panorama/PanoramaTextureStore.h"

#include <QImageWriter>
#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <gtest/gtest.h>

#include <functional>

using namespace PanoramaFixtures;

namespace {

// An uploader on the test's own thread, with a context of its own.
class UploadOrder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_surface.create();
        ASSERT_TRUE(m_context.create());
        m_uploader = std::make_unique<PanoramaTextureUploader>(&m_context, &m_surface);
    }

    // The reports of an upload, as words: "preview 512x128 of 4096x1024",
    // "strip 0", "restarted", "finished" or "failed".
    std::shared_ptr<PanoramaPhotoUpload> upload(bool previewComing, bool holdForViews = true)
    {
        PanoramaPhotoUpload::Reports reports;
        reports.preview = [this](unsigned id, QSize preview, QSize photo) {
            EXPECT_NE(id, 0u);
            m_reports << QStringLiteral("preview %1x%2 of %3x%4")
                             .arg(preview.width()).arg(preview.height()).arg(photo.width()).arg(photo.height());
        };
        reports.strip = [this](QSize, int strip, unsigned id) {
            EXPECT_NE(id, 0u);
            m_reports << QStringLiteral("strip %1").arg(strip);
        };
        reports.restarted = [this] { m_reports << QStringLiteral("restarted"); };
        reports.finished = [this](bool complete) { m_reports << (complete ? QStringLiteral("finished") : QStringLiteral("failed")); };
        return std::make_shared<PanoramaPhotoUpload>(reports, previewComing, holdForViews);
    }

    QString reports() { return std::exchange(m_reports, {}).join(QStringLiteral(", ")); }

    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    std::unique_ptr<PanoramaTextureUploader> m_uploader;
    QStringList m_reports;
};

// Decoded photos in the image cache's layout: 24-bit RGB.
QImage photo(int width, int height)
{
    return gradientPhoto(width, height).convertToFormat(QImage::Format_RGB888);
}

void bands(PanoramaPhotoUpload &upload, PanoramaTextureUploader &uploader, const QImage &image)
{
    upload.begin(uploader, image.size());
    for (int y = 0; y < image.height(); y += 256)
        upload.addBand(uploader, image, y, std::min(256, image.height() - y));
}

TEST_F(UploadOrder, stripsWaitForTheViewsToShowThePreviewWhicheverDecodeEndsFirst)
{
    const QImage image = photo(4096, 1024);
    const QImage preview = photo(512, 128);

    auto early = upload(true);
    early->preview(*m_uploader, preview, image.size());
    bands(*early, *m_uploader, image);
    early->finish(*m_uploader);
    EXPECT_EQ(reports(), "preview 512x128 of 4096x1024");
    early->go(*m_uploader, {});
    EXPECT_EQ(reports(), "strip 0, strip 1, finished");

    auto late = upload(true);
    bands(*late, *m_uploader, image);
    late->finish(*m_uploader);
    EXPECT_EQ(reports(), "");
    late->preview(*m_uploader, preview, image.size());
    late->go(*m_uploader, {});
    EXPECT_EQ(reports(), "preview 512x128 of 4096x1024, strip 0, strip 1, finished");

    // No preview coming: the strips go at once.
    auto none = upload(true);
    none->preview(*m_uploader, QImage(), QSize());
    bands(*none, *m_uploader, image);
    none->finish(*m_uploader);
    EXPECT_EQ(reports(), "strip 0, strip 1, finished");

    // Nothing on the GPU to make room for: the strips go without waiting
    // for the preview, which is no longer wanted once they are all there.
    auto first = upload(true, false);
    bands(*first, *m_uploader, image);
    first->finish(*m_uploader);
    first->preview(*m_uploader, preview, image.size());
    EXPECT_EQ(reports(), "strip 0, strip 1, finished");
}

TEST_F(UploadOrder, wholePhotosMakeTheirOwnPreviewWhenLargeAndAnAbortedDecodeStartsOver)
{
    auto cached = upload(false);
    cached->whole(*m_uploader, photo(4096, 600));
    EXPECT_EQ(reports(), "preview 512x75 of 4096x600");
    cached->go(*m_uploader, {});
    EXPECT_EQ(reports(), "strip 0, strip 1, finished");

    auto small = upload(false);
    small->whole(*m_uploader, gradientPhoto(1000, 500));
    EXPECT_EQ(reports(), "strip 0, finished");

    // A band decode that gives up after its first strip, then the general decoder.
    auto restarted = upload(true);
    restarted->preview(*m_uploader, QImage(), QSize());
    const QImage image = photo(1000, 1024);
    restarted->begin(*m_uploader, image.size());
    restarted->addBand(*m_uploader, image, 0, 256);
    restarted->addBand(*m_uploader, image, 256, 256);
    restarted->abort(*m_uploader);
    restarted->whole(*m_uploader, image);
    EXPECT_EQ(reports(), "strip 0, restarted, strip 0, strip 1, finished");

    auto missing = upload(true);
    missing->whole(*m_uploader, QImage());
    missing->go(*m_uploader, {});
    EXPECT_EQ(reports(), "failed");
}

// How far a photo had come at each step told: "preview", "2/4 strips",
// "preview + 3/4 strips", "done 4/4 strips" or "done none".
QString describe(const PanoramaTextureStore::Photo &photo)
{
    QStringList parts;
    if (photo.done)
        parts << QStringLiteral("done");
    if (photo.preview)
        parts << QStringLiteral("preview");
    if (photo.texture) {
        const auto &ids = photo.texture->ids();
        const auto uploaded = std::count_if(ids.cbegin(), ids.cend(), [](unsigned id) { return id != 0; });
        parts << QStringLiteral("%1/%2 strips").arg(uploaded).arg(ids.size());
    } else if (photo.done) {
        parts << QStringLiteral("none");
    }
    return parts.join(QStringLiteral(" + "));
}

// The store of a shown view's context group, with the view's own cache.
class TextureStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_view = std::make_unique<Panorama360ViewerView>(Panorama360ViewerView::Inputs{}, m_cache);
        m_view->resize(64, 64);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->makeCurrent();
        m_store = PanoramaTextureStore::forContext(m_view->context());
        m_view->doneCurrent();
    }

    void TearDown() override { m_store.reset(); }

    // A name for a photo held in memory only.
    static QUrl memoryURL(const char *name) { return QUrl::fromLocalFile(QStringLiteral("/memory/%1.jpg").arg(name)); }

    // What a request for the photo is told at once, as describe() words it.
    QString told(const QUrl &url, const QImage &decoded)
    {
        QObject receiver;
        QStringList steps;
        m_store->load(url, decoded, m_cache, &receiver,
                      [&steps](const PanoramaTextureStore::Photo &photo) { steps << describe(photo); });
        return steps.join(QStringLiteral(", "));
    }

    std::shared_ptr<LumivaneImageCache> m_cache = photoCache();
    std::unique_ptr<Panorama360ViewerView> m_view;
    std::shared_ptr<PanoramaTextureStore> m_store;
    QTemporaryDir m_dir;
};

TEST_F(TextureStore, largeJpegReplacingAPhotoComesAsAPreviewThenStripByStripAndALateWaiterGetsWhatHasArrived)
{
    const QString path = m_dir.filePath(QStringLiteral("large.jpg"));
    ASSERT_TRUE(gradientPhoto(4096, 2048).save(path, "JPEG", 90));
    const QUrl url = QUrl::fromLocalFile(path);
    QObject receiver;
    // A photo on the GPU already, which the new one replaces.
    bool shown = false;
    m_store->load(memoryURL("shown"), photo(1000, 500), m_cache, &receiver,
                  [&shown](const PanoramaTextureStore::Photo &photo) { shown = photo.done; });
    ASSERT_TRUE(QTest::qWaitFor([&shown] { return shown; }, 20000));
    QStringList steps;
    QStringList late;
    QStringList lateDecoded;
    const QImage decoded = photo(4096, 2048);
    m_store->load(url, QImage(), m_cache, &receiver, [&](const PanoramaTextureStore::Photo &photo) {
        steps << describe(photo);
        if (steps.size() == 2)
            m_store->load(url, QImage(), m_cache, &receiver,
                          [&late](const PanoramaTextureStore::Photo &photo) { late << describe(photo); });
        // Its strips still missing, the texture is not on the GPU whole:
        // a waiter with the decoded photo joins the upload as well.
        if (steps.size() == 3)
            m_store->load(url, decoded, m_cache, &receiver,
                          [&lateDecoded](const PanoramaTextureStore::Photo &photo) { lateDecoded << describe(photo); });
    });
    ASSERT_TRUE(QTest::qWaitFor([&steps] { return !steps.isEmpty() && steps.last().startsWith("done"); }, 20000));
    EXPECT_EQ(steps.join(QStringLiteral(", ")),
              "preview, preview + 1/4 strips, preview + 2/4 strips, preview + 3/4 strips, preview + 4/4 strips, "
              "done + 4/4 strips");
    EXPECT_EQ(late.join(QStringLiteral(", ")), "preview + 1/4 strips, preview + 2/4 strips, preview + 3/4 strips, "
                                               "preview + 4/4 strips, done + 4/4 strips");
    EXPECT_EQ(lateDecoded.join(QStringLiteral(", ")),
              "preview + 2/4 strips, preview + 3/4 strips, preview + 4/4 strips, done + 4/4 strips");
    EXPECT_EQ(m_cache->lookup(url).format(), QImage::Format_RGB888);
    EXPECT_EQ(told(url, m_cache->lookup(url)), "done + 4/4 strips");
    // Let go by the image cache: read again, although its texture is on the GPU.
    m_cache->emptyFullImageStore();
    EXPECT_EQ(told(url, QImage()), "");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_cache->lookup(url).isNull(); }, 20000));
}

TEST_F(TextureStore, texturesNoViewShowsStayWithinTheByteBudgetOldestLeavingFirst)
{
    // 4096 x 2048 with mipmaps: about 43 MiB each, three of them over the budget.
    const QImage image = photo(4096, 2048);
    const qint64 bytes = PanoramaMipmapBands::chainBytes(QSize(4096, 512)) * 4;
    ASSERT_GT(3 * bytes, PanoramaTextureStore::residentByteBudget);
    ASSERT_LE(2 * bytes, PanoramaTextureStore::residentByteBudget);
    QObject receiver;
    std::shared_ptr<PanoramaTexture> shown;
    for (const char *name : {"a", "b", "c", "d"}) {
        bool done = false;
        m_store->load(memoryURL(name), image, m_cache, &receiver, [&](const PanoramaTextureStore::Photo &photo) {
            if (photo.preview && !photo.texture)
                shown = photo.preview; // as a view would: the new photo's preview replaces the old photo
            if (photo.done)
                shown = photo.texture;
            done = photo.done;
        });
        ASSERT_TRUE(QTest::qWaitFor([&done] { return done; }, 20000)) << name;
    }
    // Those on the GPU come at once, the one that left starts over.
    EXPECT_EQ(told(memoryURL("d"), image), "done + 4/4 strips");
    EXPECT_EQ(told(memoryURL("c"), image), "done + 4/4 strips");
    EXPECT_EQ(told(memoryURL("b"), image), "done + 4/4 strips");
    EXPECT_EQ(told(memoryURL("a"), image), "");
    QObject again;
    std::shared_ptr<PanoramaTexture> resident;
    m_store->load(memoryURL("d"), image, m_cache, &again,
                  [&resident](const PanoramaTextureStore::Photo &photo) { resident = photo.texture; });
    EXPECT_EQ(resident, shown);
}

} // namespace
