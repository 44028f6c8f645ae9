// The one rule every picture of a package is decoded by: no larger than the
// view shows it, reduced by the decoder while it reads, and refused unread
// when its header asks for more than any decode may hold.

#include "TestPhotos.h"
#include "tests/support/HostilePhotos.h"
#include "tests/support/PeakResident.h"
#include "tests/support/PngBytes.h"

#include "media/images/ImageDecodeBudget.h"
#include "media/images/JpegReducedDecode.h"
#include "media/images/LumivaneImageCache.h"
#include "tests/support/CaseName.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(ImageDecodeBudget::readData(file.readAll(), given.bound).size(), given.shown);
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
    // otherwise: a floor plan read before any photo reads as after one.
    QImage plan(6000, 6000, QImage::Format_RGB32);
    plan.fill(Qt::white);
    EXPECT_EQ(ImageDecodeBudget::readData(pngBytes(plan), QSize()).size(), QSize(6000, 6000));
}

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
    EXPECT_TRUE(ImageDecodeBudget::readData(bytes, {200, 66}).isNull());
    EXPECT_LT(peak.growthMiB(), 32);
    EXPECT_EQ(m_cache->usage().fullCount + m_cache->usage().thumbnailCount, 0);
}

TEST_P(HugePicture, IsReadAtTheSmallestReductionTheBudgetAllowsWhenShownWhole)
{
    // Just over the ceiling whole, a quarter of it at a half.
    const QUrl url = write(claiming({16400, 16400}, false));
    EXPECT_EQ(LumivaneImageCache::decodeFile(url.toLocalFile(), QSize()).size(), QSize(8200, 8200));
}

INSTANTIATE_TEST_SUITE_P(StrayBytes, HugePicture, ::testing::Values(0, 1, 7),
                         [](const auto &info) { return std::to_string(info.param) + "StrayBytes"; });

TEST(PictureHeldInMemory, ClaimingMorePixelsThanALogoOrPlanIsMadeWithIsRefusedUnread)
{
    // Reduced by eight, each still costs a walk over every block it claims.
    EXPECT_EQ(ImageDecodeBudget::readData(HostilePhotos::jpegClaiming({12000, 12000}, false), {1000, 66}).size(),
              QSize(66, 66));
    EXPECT_TRUE(ImageDecodeBudget::readData(HostilePhotos::jpegClaiming({12300, 12300}, false), {1000, 66}).isNull());
}

// Each scan walks every block again: past the limit, not one is decoded, by
// our decoder nor by Qt's, which reads a picture tagged to turn.
TEST(ManyScans, PictureOfMoreScansThanADecodeMayWalkIsRefusedByEveryReader)
{
    QTemporaryDir dir;
    for (const int scans : {ImageDecodeBudget::scanLimit, ImageDecodeBudget::scanLimit + 1}) {
        SCOPED_TRACE(scans);
        const bool refused = scans > ImageDecodeBudget::scanLimit;
        const QByteArray upright = HostilePhotos::jpegWithScans(scans);
        const QByteArray turned = TestPhotos::taggedToTurn(upright);
        for (const QByteArray &bytes : {upright, turned}) {
            const QString path = dir.filePath(QStringLiteral("scans.jpg"));
            ASSERT_TRUE(HostilePhotos::write(path, bytes));
            EXPECT_EQ(LumivaneImageCache::decodeFile(path, QSize()).isNull(), refused);
            EXPECT_EQ(ImageDecodeBudget::readData(bytes, QSize()).isNull(), refused);
        }
    }
}

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
