#include "tests/support/HostilePhotos.h"

#include "media/images/ImageDecodeBudget.h"
#include "media/images/LumivaneImageCache.h"
#include "media/panorama/PanoramaJpegDecoder.h"
#include "media/panorama/PanoramaMipmapBands.h"
#include "media/panorama/PanoramaPhotoDecode.h"
#include "media/panorama/PanoramaStrips.h"
#include "media/panorama/PanoramaTextureUploader.h"
#include "tests/support/CaseName.h"

#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTest>
#include <QTemporaryDir>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <map>
#include <thread>

namespace {

QImage noisyImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x * 255 / width, y * 255 / height, int(random.bounded(256)));
    }
    return image;
}

// The largest difference of a channel between two pictures of one size, on a grid of samples.
int worstDifference(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); y += 37) {
        for (int x = 0; x < a.width(); x += 41) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

// Every level of the chain, assembled from the bands handed out.
std::map<int, QImage> collectLevels(const QImage &image)
{
    const int bytesPerPixel = image.depth() / 8;
    std::map<int, QImage> levels;
    const auto sink = [&levels, &image](int level, int y, const uchar *pixels, int width, int rows, qsizetype stride) {
        QImage &target = levels[level];
        if (target.isNull()) {
            target = QImage(PanoramaMipmapBands::levelSize(image.size(), level), QImage::Format_RGB32);
            target.fill(Qt::magenta);
        }
        ASSERT_EQ(width, target.width());
        ASSERT_LE(y + rows, target.height());
        for (int r = 0; r < rows; ++r)
            std::copy_n(pixels + qsizetype(r) * stride, width * 4, target.scanLine(y + r));
    };
    PanoramaMipmapBands bands(image.size());
    for (int y = 0; y < image.height(); y += PanoramaMipmapBands::bandRows)
        bands.addBand(y, image.constScanLine(y), std::min(PanoramaMipmapBands::bandRows, image.height() - y),
                      image.bytesPerLine(), bytesPerPixel, sink);
    bands.finish(sink);
    return levels;
}

TEST(PanoramaMipmapBands, bandsGiveTheSameChainAsWholeLevels)
{
    const QImage image = noisyImage(1000, 517);
    const std::map<int, QImage> levels = collectLevels(image);
    ASSERT_EQ(int(levels.size()), PanoramaMipmapBands::levelCount(image.size()));
    EXPECT_EQ(levels.rbegin()->second.size(), QSize(1, 1));
    QImage expected = image;
    for (int level = 1; level < int(levels.size()); ++level) {
        const QSize size = PanoramaMipmapBands::levelSize(image.size(), level);
        QImage next(size, QImage::Format_RGB32);
        PanoramaMipmapBands::downsample(expected.constBits(), expected.width(), expected.height(),
                                        expected.bytesPerLine(), next.bits(), size.width(), size.height(),
                                        next.bytesPerLine());
        EXPECT_EQ(levels.at(level), next) << "level " << level;
        expected = next;
    }
}

TEST(PanoramaMipmapBands, rgbRowsGiveTheChainOfTheirOpaqueRgbaForm)
{
    const QImage image = noisyImage(1001, 300);
    const std::map<int, QImage> fromRgb = collectLevels(image.convertToFormat(QImage::Format_RGB888));
    const std::map<int, QImage> fromRgba = collectLevels(image.convertToFormat(QImage::Format_RGBX8888));
    ASSERT_EQ(fromRgb.size(), fromRgba.size());
    for (const auto &[level, rows] : fromRgb)
        EXPECT_EQ(rows, fromRgba.at(level)) << "level " << level;
    // RGBA bytes in memory, opaque.
    const QRgb source = image.pixel(17, 5);
    const uchar *pixel = fromRgb.at(0).constScanLine(5) + 17 * 4;
    EXPECT_EQ(qRgba(pixel[0], pixel[1], pixel[2], pixel[3]), source | 0xff000000u);
}

struct StripWidthsCase
{
    QSize photo;
    std::vector<int> widths; ///< of every strip's texture, top to bottom
};

class PanoramaStripWidths : public ::testing::TestWithParam<StripWidthsCase>
{
};

TEST_P(PanoramaStripWidths, stripsNearThePolesKeepFewerColumns)
{
    const QSize photo = GetParam().photo;
    std::vector<int> widths;
    for (int strip = 0; strip < PanoramaStrips::count(photo); ++strip) {
        EXPECT_EQ(PanoramaStrips::textureSize(photo, strip).height(), PanoramaStrips::stripSize(photo, strip).height());
        widths.push_back(PanoramaStrips::textureSize(photo, strip).width());
    }
    EXPECT_EQ(widths, GetParam().widths);
}

INSTANTIATE_TEST_SUITE_P(
    Photos, PanoramaStripWidths,
    ::testing::Values(StripWidthsCase{QSize(8192, 4096), {4096, 8192, 8192, 8192, 8192, 8192, 8192, 4096}},
                      StripWidthsCase{QSize(16384, 8192), {4096, 8192, 16384, 16384, 16384, 16384, 16384, 16384,
                                                          16384, 16384, 16384, 16384, 16384, 16384, 8192, 4096}},
                      StripWidthsCase{QSize(4096, 2048), {4096, 4096, 4096, 4096}},
                      // A width the halving would not divide keeps every column.
                      StripWidthsCase{QSize(8191, 4096), {8191, 8191, 8191, 8191, 8191, 8191, 8191, 8191}},
                      StripWidthsCase{QSize(2400, 1200), {2400, 2400, 1200}}),
    [](const auto &info) {
        return caseName(QStringLiteral("%1x%2").arg(info.param.photo.width()).arg(info.param.photo.height()));
    });

TEST(PanoramaMipmapBands, narrowingAveragesSideBySidePixels)
{
    const uchar rgb[] = {10, 20, 30, 20, 41, 50, 255, 0, 0, 0, 0, 1};
    uchar out[8] = {};
    PanoramaMipmapBands::narrow(rgb, 4, 1, sizeof rgb, 3, 2, out, sizeof out);
    EXPECT_EQ(std::vector<int>(out, out + 8), (std::vector<int>{15, 31, 40, 255, 128, 0, 1, 255}));
    const uchar rgba[] = {0, 0, 0, 0, 255, 255, 255, 255};
    PanoramaMipmapBands::narrow(rgba, 2, 1, sizeof rgba, 4, 2, out, sizeof out);
    EXPECT_EQ(std::vector<int>(out, out + 4), (std::vector<int>{128, 128, 128, 128}));
}

TEST(PanoramaMipmapBands, boxFilterAveragesEachChannel)
{
    QImage source(2, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(0, 100, 255));
    source.setPixel(1, 0, qRgb(255, 100, 255));
    source.setPixel(0, 1, qRgb(0, 0, 255));
    source.setPixel(1, 1, qRgb(255, 0, 253));
    QImage target(1, 1, QImage::Format_RGB32);
    PanoramaMipmapBands::downsample(source.constBits(), 2, 2, source.bytesPerLine(), target.bits(), 1, 1,
                                    target.bytesPerLine());
    EXPECT_EQ(target.pixel(0, 0), qRgb(128, 50, 255));
}

// Red grows with the row: where a row lands shows in its colour.
QImage gradientRows(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::fill_n(reinterpret_cast<QRgb *>(image.scanLine(y)), width, qRgb(y * 255 / height, 90, 160));
    return image;
}

class PanoramaJpegDecoderTest : public ::testing::Test
{
protected:
    QString write(const QString &name, const QImage &image)
    {
        const QString path = m_dir.filePath(name);
        QImageWriter writer(path, "jpeg");
        writer.setQuality(92);
        EXPECT_TRUE(writer.write(image));
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(PanoramaJpegDecoderTest, bandsCoverThePhotoInOrderAndMatchTheGeneralDecoder)
{
    const QString path = write(QStringLiteral("photo.jpg"), noisyImage(1500, 700));
    ASSERT_TRUE(PanoramaJpegDecoder::canDecode(path));
    QSize announced;
    int nextRow = 0;
    const QImage decoded = PanoramaJpegDecoder::decode(
        path, 16384, 256, [&announced](QSize size) { announced = size; },
        [&nextRow](const QImage &, int y, int rows) {
            EXPECT_EQ(y, nextRow);
            nextRow = y + rows;
        });
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(announced, QSize(1500, 700));
    EXPECT_EQ(nextRow, 700);
    EXPECT_LE(worstDifference(decoded, QImageReader(path).read()), 3);
}

TEST_F(PanoramaJpegDecoderTest, photosLargerThanTheGpuTakesAreReducedWhileTheyDecode)
{
    const QString path = write(QStringLiteral("wide.jpg"), noisyImage(1600, 800));
    // Halved by libjpeg itself: every band is one of the halved photo.
    QSize announced;
    int nextRow = 0;
    const QImage decoded = PanoramaJpegDecoder::decode(
        path, 1000, 256, [&announced](QSize size) { announced = size; },
        [&nextRow](const QImage &, int y, int rows) { nextRow = y + rows; });
    EXPECT_EQ(announced, QSize(800, 400));
    EXPECT_EQ(nextRow, 400);
    ASSERT_EQ(decoded.size(), QSize(800, 400));
    QImageReader halved(path);
    halved.setScaledSize(QSize(800, 400));
    EXPECT_LE(worstDifference(decoded, halved.read()), 3);
    // Beyond an eighth the general path scales to the limit exactly, keeping the aspect ratio.
    EXPECT_TRUE(PanoramaJpegDecoder::decode(path, 150, 256, [](QSize) {}, [](const QImage &, int, int) {}).isNull());
    const QImage prepared = PanoramaTextureUploader::prepared(QImageReader(path).read(), 1000);
    EXPECT_EQ(prepared.size(), QSize(1000, 500));
    EXPECT_EQ(prepared.format(), QImage::Format_RGB888);
}

TEST_F(PanoramaJpegDecoderTest, turnedCutMissingAndOtherFiles)
{
    const QImage image = noisyImage(300, 200);
    const QString turned = write(QStringLiteral("turned.jpg"), image);
    {
        // An Exif block right after the start marker: orientation 6, "turn 90 degrees".
        const QByteArray exif = QByteArray::fromHex("FFE10022" "457869660000" "4D4D002A00000008"
                                                    "0001" "011200030000000100060000" "00000000");
        QFile file(turned);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray data = file.readAll();
        data.insert(2, exif);
        file.seek(0);
        file.write(data);
    }
    QImageReader upright(turned);
    upright.setAutoTransform(true);
    ASSERT_EQ(upright.read().size(), QSize(200, 300));
    EXPECT_TRUE(PanoramaJpegDecoder::canDecode(turned));
    bool announced = false;
    EXPECT_TRUE(PanoramaJpegDecoder::decode(turned, 4096, 64, [&announced](QSize) { announced = true; },
                                            [](const QImage &, int, int) {})
                    .isNull());
    EXPECT_FALSE(announced);
    const QString png = m_dir.filePath(QStringLiteral("photo.png"));
    image.save(png, "PNG");
    EXPECT_FALSE(PanoramaJpegDecoder::canDecode(png));

    const QString path = write(QStringLiteral("cut.jpg"), image);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() / 3);
    file.close();
    // As with the general decoder, a cut photo shows what it has.
    EXPECT_EQ(PanoramaJpegDecoder::decode(path, 4096, 64, [](QSize) {}, [](const QImage &, int, int) {}).size(),
              image.size());
    EXPECT_TRUE(PanoramaJpegDecoder::decode(m_dir.filePath(QStringLiteral("missing.jpg")), 4096, 64, [](QSize) {},
                                            [](const QImage &, int, int) {})
                    .isNull());
}

TEST_F(PanoramaJpegDecoderTest, exifOffsetsPointingOutsideTheBlockAreIgnored)
{
    const QImage image = noisyImage(300, 200);
    for (const char *offset : {"FFFFFFFE", "FFFFFFF8", "00001000"}) {
        SCOPED_TRACE(offset);
        const QString path = write(QStringLiteral("odd.jpg"), image);
        const QByteArray exif = QByteArray::fromHex(QByteArray("FFE10022" "457869660000" "4D4D002A") + offset
                                                    + "0001" "011200030000000100060000" "00000000");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray data = file.readAll();
        data.insert(2, exif);
        file.seek(0);
        file.write(data);
        file.close();
        EXPECT_EQ(PanoramaJpegDecoder::decode(path, 4096, 64, [](QSize) {}, [](const QImage &, int, int) {}).size(),
                  image.size());
    }
}

struct PreviewCase
{
    const char *file;
    QSize preview; ///< empty: none
};

class PanoramaPreview : public PanoramaJpegDecoderTest, public ::testing::WithParamInterface<PreviewCase>
{
};

TEST_P(PanoramaPreview, largeJpegPhotosGetAnEighthBySideAndOthersNone)
{
    const QImage large = gradientRows(4100, 1000);
    write(QStringLiteral("large.jpg"), large);
    write(QStringLiteral("small.jpg"), gradientRows(2000, 1000));
    large.save(m_dir.filePath(QStringLiteral("large.png")), "PNG");
    const PanoramaJpegDecoder::Reduced preview =
        PanoramaPhotoDecode::decodePreview(QUrl::fromLocalFile(m_dir.filePath(QString::fromLatin1(GetParam().file))), 16384);
    EXPECT_EQ(preview.image.size(), GetParam().preview);
    if (preview.image.isNull())
        return;
    EXPECT_EQ(preview.fullSize, QSize(4100, 1000));
    EXPECT_EQ(preview.image.format(), QImage::Format_RGB888);
    // Rows keep their place: red follows the row.
    EXPECT_NEAR(qRed(preview.image.pixel(100, 62)), qRed(large.pixel(800, 500)), 8);
}

INSTANTIATE_TEST_SUITE_P(Files, PanoramaPreview,
                         ::testing::Values(PreviewCase{"large.jpg", QSize(513, 125)},
                                           PreviewCase{"small.jpg", QSize(0, 0)},
                                           PreviewCase{"large.png", QSize(0, 0)},
                                           PreviewCase{"missing.jpg", QSize(0, 0)}),
                         [](const auto &info) { return caseName(QString::fromUtf8(info.param.file)); });

TEST_F(PanoramaJpegDecoderTest, previewOfAPhotoReducedForTheGpuIsAnEighthOfThePhotoAsShown)
{
    // Halved for a GPU that takes 4100: the photo shows at 4100 x 500, its preview at 513 x 63.
    const QImage large = gradientRows(8200, 1000);
    const QUrl url = QUrl::fromLocalFile(write(QStringLiteral("large.jpg"), large));
    const PanoramaJpegDecoder::Reduced preview = PanoramaPhotoDecode::decodePreview(url, 4100);
    EXPECT_EQ(preview.fullSize, QSize(4100, 500));
    ASSERT_EQ(preview.image.size(), QSize(513, 63));
    EXPECT_NEAR(qRed(preview.image.pixel(100, 31)), qRed(large.pixel(1600, 504)), 8);
    // Shown narrower than a preview is worth: none.
    EXPECT_TRUE(PanoramaPhotoDecode::decodePreview(url, 3000).image.isNull());
}

TEST(PanoramaPreview, ofADecodedPhotoSamplesEachBlockInItsLayout)
{
    for (const QImage::Format format : {QImage::Format_RGB888, QImage::Format_RGBA8888_Premultiplied}) {
        const QImage photo = gradientRows(4096, 1000).convertToFormat(format);
        const QImage preview = PanoramaPhotoDecode::previewOf(photo);
        ASSERT_EQ(preview.size(), QSize(512, 125));
        EXPECT_EQ(preview.format(), format);
        EXPECT_NEAR(qRed(preview.pixel(3, 62)), qRed(photo.pixel(30, 500)), 2);
        EXPECT_TRUE(PanoramaPhotoDecode::previewOf(photo.scaled(2048, 500)).isNull());
    }
}

// What a decode hands on, in order, as words: "begin 300x200", "bands 200"
// (rows in order from the top), "finish", "abort", "whole 300x200" or "whole null".
class RecordingSink final : public PanoramaPhotoDecode::Sink
{
public:
    QStringList calls;

    void begin(QSize size) override { calls << QStringLiteral("begin %1x%2").arg(size.width()).arg(size.height()); }
    void addBand(const QImage &, int y, int rows) override
    {
        EXPECT_EQ(y, m_rows);
        m_rows = y + rows;
    }
    void finish() override { calls << QStringLiteral("bands %1").arg(m_rows) << QStringLiteral("finish"); }
    void abort() override { calls << QStringLiteral("abort"); }
    void whole(const QImage &image) override
    {
        calls << (image.isNull() ? QStringLiteral("whole null")
                                 : QStringLiteral("whole %1x%2").arg(image.width()).arg(image.height()));
    }

private:
    int m_rows = 0;
};

struct DecodeCase
{
    const char *file;
    int maxSide;
    const char *calls;
};

class PanoramaPhotoDecodeCase : public PanoramaJpegDecoderTest, public ::testing::WithParamInterface<DecodeCase>
{
};

TEST_P(PanoramaPhotoDecodeCase, handsThePhotoOnByTheRightPathAndKeepsIt)
{
    const QImage image = noisyImage(300, 200);
    write(QStringLiteral("photo.jpg"), image);
    image.save(m_dir.filePath(QStringLiteral("photo.png")), "PNG");
    HostilePhotos::write(m_dir.filePath(QStringLiteral("huge.jpg")), HostilePhotos::jpegClaiming({60000, 30000}, false));
    HostilePhotos::write(m_dir.filePath(QStringLiteral("absurd.jpg")), HostilePhotos::jpegClaiming({20000, 20000}, true));
    HostilePhotos::write(m_dir.filePath(QStringLiteral("scans.jpg")),
                         HostilePhotos::jpegWithScans(ImageDecodeBudget::scanLimit + 1));
    QFile jpeg(m_dir.filePath(QStringLiteral("photo.jpg")));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    HostilePhotos::write(m_dir.filePath(QStringLiteral("stray.jpg")), HostilePhotos::withStrayBytes(jpeg.readAll(), 1));
    const QUrl url = QUrl::fromLocalFile(m_dir.filePath(QString::fromLatin1(GetParam().file)));
    const auto cache = LumivaneImageCache::create({10, 128 << 20, 16 << 20});
    RecordingSink sink;
    PanoramaPhotoDecode::decodeInto(sink, url, *cache, GetParam().maxSide);
    EXPECT_EQ(sink.calls.join(QStringLiteral(", ")), QString::fromLatin1(GetParam().calls));
    EXPECT_EQ(cache->lookup(url).isNull(), sink.calls.last() == QStringLiteral("whole null"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PanoramaPhotoDecodeCase,
    ::testing::Values(DecodeCase{"photo.jpg", 4096, "begin 300x200, bands 200, finish"},
                      DecodeCase{"photo.jpg", 256, "begin 150x100, bands 100, finish"},
                      // Still too large at an eighth: the general path scales it to fit.
                      DecodeCase{"photo.jpg", 32, "abort, whole 32x21"},
                      DecodeCase{"photo.png", 4096, "whole 300x200"},
                      DecodeCase{"photo.png", 256, "whole 256x171"},
                      DecodeCase{"huge.jpg", 8192, "begin 7500x3750, bands 3750, finish"},
                      // Its header asks for more than any decode may hold: refused by both paths.
                      DecodeCase{"absurd.jpg", 16384, "abort, whole null"},
                      // More scans than a decode may walk, likewise.
                      DecodeCase{"scans.jpg", 4096, "abort, whole null"},
                      // A stray byte after the start of image, which libjpeg skips.
                      DecodeCase{"stray.jpg", 4096, "begin 300x200, bands 200, finish"},
                      DecodeCase{"missing.jpg", 4096, "whole null"}),
    [](const auto &info) {
        const QString file = QString::fromUtf8(info.param.file);
        return caseName(QStringLiteral("%1 at most %2").arg(file).arg(info.param.maxSide));
    });

TEST_F(PanoramaJpegDecoderTest, aPhotoThatAnotherDecodeReadsForTheCacheComesWholeFromThatDecode)
{
    const QUrl url = QUrl::fromLocalFile(write(QStringLiteral("photo.jpg"), noisyImage(300, 200)));
    const auto cache = LumivaneImageCache::create({10, 128 << 20, 16 << 20});
    QSemaphore started;
    QSemaphore end;
    // A preload's decode of the photo, under way until the test lets it end.
    std::thread preload([&] {
        cache->decodeOnce(url, [&] {
            started.release();
            end.acquire();
            return noisyImage(30, 20);
        });
    });
    started.acquire();
    RecordingSink sink;
    std::thread panorama([&] { PanoramaPhotoDecode::decodeInto(sink, url, *cache, 4096); });
    QTest::qSleep(50); // the panorama's decode meanwhile finds the preload's under way
    end.release();
    preload.join();
    panorama.join();
    EXPECT_EQ(sink.calls.join(QStringLiteral(", ")), "whole 30x20");

    // Held by the cache: from there, unread.
    RecordingSink again;
    PanoramaPhotoDecode::decodeInto(again, url, *cache, 4096);
    EXPECT_EQ(again.calls.join(QStringLiteral(", ")), "whole 30x20");
}

} // namespace
