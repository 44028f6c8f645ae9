#include "panels/cover/CoverRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct AreaCase
{
    const char *name;
    std::optional<double> area;
    const char *expected; // nullptr: no chip
};

void PrintTo(const AreaCase &c, std::ostream *os)
{
    *os << c.name;
}

class CoverArea : public testing::TestWithParam<AreaCase>
{
};

TEST_P(CoverArea, WholeNumbersPlainOthersWithOneDecimal)
{
    const AreaCase &c = GetParam();
    const std::optional<QString> text = coverAreaText(c.area);
    if (!c.expected) {
        EXPECT_FALSE(text);
        return;
    }
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, CoverArea, testing::Values(
    AreaCase{"absent", std::nullopt, nullptr},
    AreaCase{"whole", 120.0, "120 m²"},
    AreaCase{"zero", 0.0, "0 m²"},
    AreaCase{"half", 85.5, "85.5 m²"},
    AreaCase{"roundedDown", 12.34, "12.3 m²"},
    AreaCase{"noGrouping", 1234567.0, "1234567 m²"},
    AreaCase{"negativeWhole", -3.0, "-3 m²"},
    AreaCase{"largestWholeBelowTwoTo63", 9223372036854774784.0, "9223372036854774784 m²"},
    // 2^63 itself no longer fits a signed 64-bit integer.
    AreaCase{"twoTo63", 9223372036854775808.0, "9223372036854775808.0 m²"},
    AreaCase{"minusTwoTo63", -9223372036854775808.0, "-9223372036854775808 m²"},
    AreaCase{"infinite", std::numeric_limits<double>::infinity(), "inf m²"}));

TEST(CoverArea, HugeWholeAreaUsesTheDecimalForm)
{
    const std::optional<QString> text = coverAreaText(1e300);
    ASSERT_TRUE(text);
    // Converting 1e300 to an integer would be undefined; it is printed in full instead.
    EXPECT_TRUE(text->startsWith(QStringLiteral("10000000000000000525047602552044202487")));
    EXPECT_EQ(text->size(), 301 + 2 + 3);
    EXPECT_TRUE(text->endsWith(QStringLiteral(".0 m²")));
}

TEST(CoverStationCount, FixedEnglishWords)
{
    EXPECT_EQ(coverStationCountText(0), QStringLiteral("0 station"));
    EXPECT_EQ(coverStationCountText(1), QStringLiteral("1 station"));
    EXPECT_EQ(coverStationCountText(2), QStringLiteral("2 stations"));
    EXPECT_EQ(coverStationCountText(1000), QStringLiteral("1000 stations"));
}

class CoverMapSpan : public testing::TestWithParam<std::pair<qint64, double>>
{
};

TEST_P(CoverMapSpan, ZoomKeptWithinOneToTwenty)
{
    EXPECT_DOUBLE_EQ(coverMapSpan(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Cases, CoverMapSpan, testing::Values(
    std::pair<qint64, double>{std::numeric_limits<qint64>::min(), 22.5},
    std::pair<qint64, double>{-4, 22.5},
    std::pair<qint64, double>{0, 22.5},
    std::pair<qint64, double>{1, 22.5},
    std::pair<qint64, double>{2, 11.25},
    std::pair<qint64, double>{10, 0.0439453125},
    std::pair<qint64, double>{15, 0.001373291015625},
    std::pair<qint64, double>{20, 0.00004291534423828125},
    std::pair<qint64, double>{25, 0.00004291534423828125},
    std::pair<qint64, double>{std::numeric_limits<qint64>::max(), 0.00004291534423828125}));

TEST(CoverLocation, NeedsBothCoordinatesAndTitlesThePinWithTheAddress)
{
    LumivaneProject project;
    project.name = QStringLiteral("Villa Lumière");
    project.locationZoom = 10;
    project.locationLatitude = 48.85;
    EXPECT_FALSE(coverLocation(project));
    project.locationLatitude.reset();
    project.locationLongitude = 2.35;
    EXPECT_FALSE(coverLocation(project));

    project.locationLatitude = 48.85;
    std::optional<CoverLocation> location = coverLocation(project);
    ASSERT_TRUE(location);
    EXPECT_EQ(location->latitude, 48.85);
    EXPECT_EQ(location->longitude, 2.35);
    EXPECT_DOUBLE_EQ(location->spanDegrees, 0.0439453125);
    EXPECT_EQ(location->label, project.name);

    project.address = QString();
    EXPECT_EQ(coverLocation(project)->label, QString()); // present but empty: no fall-back
    project.address = QStringLiteral("12 rue des Lilas");
    EXPECT_EQ(coverLocation(project)->label, *project.address);
}

} // namespace
