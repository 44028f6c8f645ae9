// The one rule every picture of a package is decoded by: no larger than the
// view shows it, reduced by the decoder while it reads, decoded whole only
// when not much larger than its place, and refused unread when its header
// asks for more than any decode may hold.

#include "TestPhotos.h"
#include "tests/support/HostilePhotos.h"
#include "tests/support/PeakResident.h"
#include "tests/support/PngBytes.h"

#include "media/images/EmbeddedPictures.h"
#include "media/images/ImageDecodeBudget.h"
#include "media/images/JpegReducedDecode.h"
#include "media/images/LumivaneImageCache.h"
#include "tests/support/CaseName.h"

#include <QImageReader>
#include <QMutex>
#include <QTemporaryDir>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

struct BoundCase
{
    QSize stored;
    bool turned; ///< tagged to turn a quarter: upright, the stored size transposed
    QSize bound;
    QSize shown; ///< upright
};

class PictureWithinItsBound : public ::testing::TestWithParam<BoundCase>
{
};

TEST_P(PictureWithinItsBound, IsDecodedUprightAndFittedFromAFileOrFromMemory)
{
    const BoundCase given = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    const QImage stored = TestPhotos::pattern(given.stored.width(), given.stored.height());
    ASSERT_TRUE(given.turned ? TestPhotos::writeJpegTaggedToTurn(path, stored) : TestPhotos::writeJpeg(path, stored));
    EXPECT_EQ(LumivaneImageCache::decodeFile(path, given.bound).size(), given.shown);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PictureWithinItsBound,
                         ::testing::Values(BoundCase{{3000, 1500}, false, {1000, 1000}, {1000, 500}},
                                           BoundCase{{3000, 1500}, false, {944, 708}, {944, 472}},
                                           BoundCase{{3000, 1500}, false, {4000, 200}, {400, 200}},
                                           // Never enlarged; no bound: its own size.
                                           BoundCase{{300, 200}, false, {1000, 1000}, {300, 200}},
                                           BoundCase{{3000, 1500}, false, {}, {3000, 1500}},
                                           BoundCase{{400, 300}, true, {400, 200}, {150, 200}}),
                         [](const auto &info) {
                             const BoundCase &c = info.param;
                             const auto size = [](QSize s) {
                                 return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
                             };
                             const QString bound = c.bound.isValid() ? "within " + size(c.bound) : "unbounded";
                             return caseName(size(c.stored) + (c.turned ? " turned " : " ") + bound);
                         });

TEST(PictureWithinTheBudget, IsReadWholeWhereQtsDefaultAllocationLimitWouldRefuseIt)
{
    // 144 MB decoded, over the 128 MiB Qt's readers allow unless told
    // otherwise: the first picture read reads as any later one.
    QImage photo(6000, 6000, QImage::Format_RGB32);
    photo.fill(Qt::white);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(HostilePhotos::write(path, pngBytes(photo)));
    EXPECT_EQ(LumivaneImageCache::decodeFile(path, QSize()).size(), QSize(6000, 6000));
}

// Orientation tags and CMYK colours, which our decoder applies itself: the
// picture as Qt's own reader shows it.
struct LookCase
{
    int orientation; ///< of the Exif tag, 1 to 8
    bool cmyk;
};

class JpegLook : public ::testing::TestWithParam<LookCase>
{
};

TEST_P(JpegLook, IsThePictureQtsReaderShowsUpright)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    const LookCase given = GetParam();
    ASSERT_TRUE(HostilePhotos::write(
        path, TestPhotos::taggedToTurn(TestPhotos::libjpegEncoded(TestPhotos::pattern(96, 64), given.cmyk),
                                       given.orientation)));
    QImageReader qt(path);
    qt.setAutoTransform(true);
    const QImage expected = qt.read();
    const QImage decoded = LumivaneImageCache::decodeFile(path, QSize());
    ASSERT_EQ(decoded.size(), expected.size());
    for (int y = 4; y < decoded.height(); y += 8) {
        for (int x = 4; x < decoded.width(); x += 8) {
            const QColor ours = decoded.pixelColor(x, y);
            const QColor theirs = expected.pixelColor(x, y);
            EXPECT_NEAR(ours.red(), theirs.red(), 8) << x << "," << y;
            EXPECT_NEAR(ours.green(), theirs.green(), 8) << x << "," << y;
            EXPECT_NEAR(ours.blue(), theirs.blue(), 8) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tags, JpegLook,
                         ::testing::Values(LookCase{1, false}, LookCase{2, false}, LookCase{3, false},
                                           LookCase{4, false}, LookCase{5, false}, LookCase{6, false},
                                           LookCase{7, false}, LookCase{8, false}, LookCase{1, true},
                                           LookCase{6, true}),
                         [](const auto &info) {
                             return caseName(QStringLiteral("orientation %1 %2")
                                                 .arg(info.param.orientation)
                                                 .arg(info.param.cmyk ? "cmyk" : "rgb"));
                         });

// Huge claims with 0, 1 or several stray bytes after the start of image,
// which libjpeg skips: judged alike.
class HugePicture : public ::testing::TestWithParam<int>
{
protected:
    QByteArray claiming(QSize claimed, bool progressive)
    {
        return HostilePhotos::withStrayBytes(HostilePhotos::jpegClaiming(claimed, progressive), GetParam());
    }

    QUrl write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("huge.jpg"));
        EXPECT_TRUE(HostilePhotos::write(path, bytes));
        return QUrl::fromLocalFile(path);
    }

    QTemporaryDir m_dir;
    std::shared_ptr<LumivaneImageCache> m_cache = LumivaneImageCache::create({10, 256 << 20, 64 << 20});
};

TEST_P(HugePicture, JpegIsReducedWhileItIsReadAndNeverHeldWhole)
{
    // 60000 x 30000 pixels: 7 GB whole, 107 MiB at an eighth.
    const QUrl url = write(claiming({60000, 30000}, false));
    const PeakResident peak;
    EXPECT_EQ(m_cache->image(url, {1000, 1000}).size(), QSize(1000, 500));
    EXPECT_LT(peak.growthMiB(), 160);
}

TEST_P(HugePicture, HeaderAskingMoreThanAnyDecodeMayHoldIsRefusedUnread)
{
    // Progressive: libjpeg would keep 1.2 GB of coefficients at any scale.
    const QByteArray bytes = claiming({20000, 20000}, true);
    const QUrl url = write(bytes);
    const std::optional<JpegHeader> header = JpegHeader::readFile(url.toLocalFile());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->size, QSize(20000, 20000));
    EXPECT_GT(header->wholePictureBytes, ImageDecodeBudget::byteCeiling);
    EXPECT_EQ(JpegHeader::readData(bytes)->wholePictureBytes, header->wholePictureBytes);

    const PeakResident peak;
    EXPECT_TRUE(m_cache->image(url).isNull());
    EXPECT_TRUE(m_cache->image(url, {1000, 1000}).isNull());
    EXPECT_TRUE(m_cache->lowResImage(url, 256).isNull());
    EXPECT_TRUE(ImageDecodeBudget::readData(bytes).isNull());
    EXPECT_LT(peak.growthMiB(), 32);
    EXPECT_EQ(m_cache->usage().fullCount + m_cache->usage().thumbnailCount, 0);
}

TEST_P(HugePicture, IsReadAtTheSmallestReductionTheBudgetAllowsWhenShownWhole)
{
    // Just over the ceiling whole in 24-bit RGB, a quarter of it at a half.
    const QUrl url = write(claiming({19000, 19000}, false));
    EXPECT_EQ(LumivaneImageCache::decodeFile(url.toLocalFile(), QSize()).size(), QSize(9500, 9500));
}

INSTANTIATE_TEST_SUITE_P(StrayBytes, HugePicture, ::testing::Values(0, 1, 7),
                         [](const auto &info) { return std::to_string(info.param) + "StrayBytes"; });

TEST(PictureHeldInMemory, ClaimingMorePixelsThanALogoOrPlanIsMadeWithIsRefusedUnread)
{
    // Reduced by eight, each still costs a walk over every block it claims.
    EXPECT_EQ(ImageDecodeBudget::readData(HostilePhotos::jpegClaiming({12000, 12000}, false)).size(),
              QSize(ImageDecodeBudget::planPixelWidth, ImageDecodeBudget::planPixelWidth));
    EXPECT_TRUE(ImageDecodeBudget::readData(HostilePhotos::jpegClaiming({12300, 12300}, false)).isNull());
}

TEST(PictureHeldInMemory, IsDecodedOnceForEveryViewThatShowsTheSameBytes)
{
    // Two copies of the bytes, asked for at once from two threads: one
    // picture for both, and for a view that asks later.
    const QByteArray logo = HostilePhotos::jpegClaiming({8000, 2000}, false);
    const QByteArray sameLogo(logo.constData(), logo.size());
    QImage shown[2];
    QThreadPool threads;
    threads.start([&] { shown[0] = EmbeddedPictures::decode(logo, QSize()); });
    threads.start([&] { shown[1] = EmbeddedPictures::decode(sameLogo, QSize()); });
    threads.waitForDone();
    ASSERT_FALSE(shown[0].isNull());
    EXPECT_EQ(shown[0].cacheKey(), shown[1].cacheKey());
    EXPECT_EQ(EmbeddedPictures::decode(logo, QSize()).cacheKey(), shown[0].cacheKey());
}

// Each scan walks every block again: past the limit, not one is decoded,
// whether upright, tagged to turn, or with scans hidden from a reader that
// walks markers by their lengths.
TEST(ManyScans, PictureOfMoreScansThanADecodeMayWalkIsRefused)
{
    QTemporaryDir dir;
    for (const int scans : {ImageDecodeBudget::scanLimit, ImageDecodeBudget::scanLimit + 1}) {
        SCOPED_TRACE(scans);
        const bool refused = scans > ImageDecodeBudget::scanLimit;
        const QByteArray upright = HostilePhotos::jpegWithScans(scans);
        for (const QByteArray &bytes : {upright, TestPhotos::taggedToTurn(upright),
                                        TestPhotos::taggedToTurn(TestPhotos::jpegWithHiddenScans(scans))}) {
            const QString path = dir.filePath(QStringLiteral("scans.jpg"));
            ASSERT_TRUE(HostilePhotos::write(path, bytes));
            EXPECT_EQ(LumivaneImageCache::decodeFile(path, QSize()).isNull(), refused);
            EXPECT_EQ(ImageDecodeBudget::readData(bytes).isNull(), refused);
        }
    }
}

// A picture of a few bytes claiming a huge size, in every format this
// machine reads, in every place that shows a picture of a package: refused
// unread, or decoded within its bound, never held whole beyond it.

// What becomes of a format's claim as a station's photo and as any other
// picture.
enum class Verdict { refused, decoded };

struct Claim
{
    QList<QByteArray> pictures; ///< none: the format cannot claim a huge size
    Verdict asPhoto = Verdict::refused;
    Verdict asPicture = Verdict::refused;
    const char *why = "";
};

// The largest side Qt's TGA reader takes.
constexpr int tgaSide = 8192;

Claim claimIn(const QByteArray &format)
{
    // Past the texture bound, and within the byte ceiling in every format.
    const QSize wide(20000, 2000);
    if (format == "jpeg" || format == "jpg")
        return {{HostilePhotos::claiming(format, wide)}, Verdict::decoded, Verdict::decoded, "reduced as it is read"};
    if (ImageDecodeBudget::isDrawing(format))
        return {{HostilePhotos::claiming(format, wide)}, Verdict::refused, Verdict::decoded,
                "drawn at the size it shows at, and no photo"};
    if (format == "png")
        return {{HostilePhotos::claiming(format, {12000, 6000}),
                 HostilePhotos::pngClaiming(wide, QImage::Format_ARGB32, true)},
                Verdict::refused,
                Verdict::refused,
                "16 bits a channel: within the texture bound, but 1.1 GB at the 8 bytes a pixel Qt decodes it to; "
                "interlaced: Qt's reader reads it whole"};
    if (format == "webp")
        return {{HostilePhotos::claiming(format, {16383, 16383})}, Verdict::refused, Verdict::refused,
                "its header takes no side over 16384: within the texture bound, over the byte ceiling"};
    if (format == "tga")
        return {{HostilePhotos::claiming(format, {tgaSide, tgaSide})}, Verdict::refused, Verdict::refused,
                "Qt's reader takes no side over 8192"};
    if (format == "icns")
        return {{HostilePhotos::written("icns", QImage::Format_ARGB32)}, Verdict::refused, Verdict::refused,
                "its reader tells no size before decoding: every ICNS is refused, and none claims a size"};
    if (format == "mng")
        return {{}, Verdict::refused, Verdict::refused,
                "Qt writes none; its reader tells no size before decoding, so every MNG is refused as ICNS is"};
    if (format == "ico" || format == "cur")
        return {{}, Verdict::refused, Verdict::refused, "its directory gives each side in one byte: 256 at most"};
    const QByteArray bytes = HostilePhotos::claiming(format, wide);
    if (bytes.isEmpty())
        return {{}, Verdict::refused, Verdict::refused, "no case yet for a format this machine reads"};
    return {{bytes}, Verdict::refused, Verdict::refused, "its reader cannot reduce it while it reads"};
}

// A place pictures show in, with the bound and the decode it asks for, and
// the longest side a picture its reader cannot reduce may have to be decoded
// whole there: the texture bound for photos, four times the size shown for
// the others.
struct Place
{
    const char *name;
    ImageDecodeBudget::Role role;
    QSize bound;
    int wholeSide;
    bool inMemory; ///< read from bytes without a file name
    std::function<QImage(const QString &path, const QByteArray &bytes, QSize bound, LumivaneImageCache &cache)> decode;
};

constexpr int open = std::numeric_limits<int>::max();
// Embedded pictures are decoded to cover a plan's width or a logo's height.
constexpr int embeddedWholeSide = 4 * ImageDecodeBudget::planPixelWidth;

QImage photo(const QString &path, const QByteArray &, QSize bound, LumivaneImageCache &)
{
    return LumivaneImageCache::decodeFile(path, bound);
}

QImage embedded(const QString &, const QByteArray &bytes, QSize bound, LumivaneImageCache &)
{
    return EmbeddedPictures::decode(bytes, bound);
}

QImage thumbnail(const QString &path, const QByteArray &, QSize bound, LumivaneImageCache &cache)
{
    return cache.lowResImage(QUrl::fromLocalFile(path), bound.width());
}

const Place places[] = {
    {"panorama photo", ImageDecodeBudget::Role::photo, {16384, 16384}, 16384, false, photo},
    {"classic photo", ImageDecodeBudget::Role::photo, {2266, 1275}, 16384, false,
     [](const QString &path, const QByteArray &, QSize bound, LumivaneImageCache &cache) {
         return cache.image(QUrl::fromLocalFile(path), bound);
     }},
    {"lightbox", ImageDecodeBudget::Role::largePicture, {1920, 1080}, 16384, false,
     [](const QString &path, const QByteArray &, QSize bound, LumivaneImageCache &) {
         return ImageDecodeBudget::readFile(path, bound, ImageDecodeBudget::Role::largePicture);
     }},
    {"cover logo", ImageDecodeBudget::Role::picture, {open, 240}, embeddedWholeSide, true, embedded},
    {"header logo", ImageDecodeBudget::Role::picture, {open, 66}, embeddedWholeSide, true, embedded},
    {"floor plan", ImageDecodeBudget::Role::picture, {440, open}, embeddedWholeSide, true, embedded},
    {"thumbnail", ImageDecodeBudget::Role::picture, {320, 320}, 4 * 320, false, thumbnail},
    {"image attachment", ImageDecodeBudget::Role::picture, {640, 640}, 4 * 640, false,
     [](const QString &path, const QByteArray &, QSize bound, LumivaneImageCache &) {
         return LumivaneImageCache::decodeThumbnail(path, bound.width());
     }},
    {"cover background", ImageDecodeBudget::Role::picture, {2048, 2048}, 4 * 2048, false, thumbnail},
};

// The budget's refusals, as it logs them.
QMutex refusalsMutex;
QStringList refusals;

class HugeClaim : public ::testing::TestWithParam<std::tuple<QByteArray, int>>
{
protected:
    void SetUp() override
    {
        m_previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &message) {
            if (qstrcmp(context.category, "lumivane.images") == 0 && message.startsWith(QLatin1String("refused"))) {
                const QMutexLocker lock(&refusalsMutex);
                refusals.append(message);
            }
        });
    }
    void TearDown() override { qInstallMessageHandler(m_previous); }

private:
    QtMessageHandler m_previous = nullptr;
};

TEST_P(HugeClaim, IsRefusedOrDecodedWithinItsBound)
{
    const QByteArray format = std::get<0>(GetParam());
    const Place &place = places[std::get<1>(GetParam())];
    const Claim claim = claimIn(format);
    if (claim.pictures.isEmpty())
        GTEST_SKIP() << format.constData() << ": " << claim.why;
    if (format == "tga" && tgaSide <= place.wholeSide)
        GTEST_SKIP() << "its largest claim is within the bound, decoded whole; Qt's reader spends 25 s over the "
                        "missing pixels of 8192 x 8192";
    if (format == "tga" && place.inMemory)
        GTEST_SKIP() << "without a file name, Qt takes its bytes for an icon of 256 x 256 it cannot read";
    SCOPED_TRACE(claim.why);
    const Verdict verdict = place.role == ImageDecodeBudget::Role::photo ? claim.asPhoto : claim.asPicture;
    QTemporaryDir dir;
    for (qsizetype i = 0; i < claim.pictures.size(); ++i) {
        SCOPED_TRACE(i);
        const QString path = dir.filePath(QStringLiteral("claim%1.").arg(i) + QString::fromLatin1(format));
        ASSERT_TRUE(HostilePhotos::write(path, claim.pictures[i]));
        const auto cache = LumivaneImageCache::create({10, 256 << 20, 64 << 20});
        {
            const QMutexLocker lock(&refusalsMutex);
            refusals.clear();
        }
        const PeakResident peak;
        const QImage shown = place.decode(path, claim.pictures[i], place.bound, *cache);
        if (verdict == Verdict::refused) {
            EXPECT_TRUE(shown.isNull());
            // Unread: whole at its claimed size, the smallest would take hundreds of MiB.
            EXPECT_LT(peak.growthMiB(), 32);
            const QMutexLocker lock(&refusalsMutex);
            EXPECT_FALSE(refusals.isEmpty()) << "not refused by the budget, only by the reader";
        } else {
            EXPECT_FALSE(shown.isNull());
            EXPECT_LE(shown.width(), place.bound.width());
            EXPECT_LE(shown.height(), place.bound.height());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndPlaces, HugeClaim,
    ::testing::Combine(::testing::ValuesIn(QImageReader::supportedImageFormats()),
                       ::testing::Range(0, int(std::size(places)))),
    [](const auto &info) {
        return caseName(QString::fromLatin1(std::get<0>(info.param)) + QLatin1Char(' ')
                        + QLatin1String(places[std::get<1>(info.param)].name));
    });

// The reduced sizes the budget plans with are those libjpeg decodes to.
TEST(ReducedSize, IsTheSizeOfTheDecodeRoundedUp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.jpg"));
    ASSERT_TRUE(TestPhotos::writeJpeg(path, 1001, 333));
    for (const int reduction : {1, 2, 4, 8, 16})
        EXPECT_EQ(JpegReducedDecode::decodeFile(path, reduction).size(), ImageDecodeBudget::reduced({1001, 333}, reduction))
            << reduction;
}

} // namespace
