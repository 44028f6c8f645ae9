#include "panels/info/InfoValueFormat.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

namespace {

struct DecimalCase
{
    std::optional<double> value;
    const char *unit;
    std::optional<const char *> expected;
};

class DecimalValue : public ::testing::TestWithParam<DecimalCase>
{
};

TEST_P(DecimalValue, writesOneDecimalOnlyWhenFractional)
{
    const DecimalCase &c = GetParam();
    const auto text = formatDecimalValue(c.value, QString::fromUtf8(c.unit));
    ASSERT_EQ(text.has_value(), c.expected.has_value());
    if (text) {
        EXPECT_EQ(*text, QString::fromUtf8(*c.expected));
    }
}

constexpr double infinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Cases, DecimalValue,
    ::testing::Values(DecimalCase{std::nullopt, "m²", std::nullopt},
                      DecimalCase{120.0, "m²", "120 m²"},
                      DecimalCase{85.5, "m²", "85.5 m²"},
                      // Decimals are never grouped.
                      DecimalCase{1200.0, "m²", "1200 m²"},
                      DecimalCase{0.0, "", "0"},
                      DecimalCase{-0.0, "", "0"},
                      DecimalCase{-3.25, "", "-3.2"},
                      // "%.1f" rounds the exact binary value, ties to even.
                      DecimalCase{85.25, "", "85.2"},
                      DecimalCase{85.35, "", "85.3"},
                      DecimalCase{0.04, "m²", "0.0 m²"},
                      DecimalCase{9007199254740992.0, "", "9007199254740992"},
                      DecimalCase{-9223372036854775808.0, "", "-9223372036854775808"},
                      // Beyond the 64-bit range no integer conversion happens.
                      DecimalCase{9223372036854775808.0, "", "9223372036854775808.0"},
                      DecimalCase{1e20, "m²", "100000000000000000000.0 m²"},
                      DecimalCase{infinity, "", "inf"},
                      DecimalCase{-infinity, "m²", "-inf m²"}),
    [](const auto &info) {
        char value[32] = "none";
        if (info.param.value)
            std::snprintf(value, sizeof value, "%g", *info.param.value); // keeps the sign of -0
        return caseName(QStringLiteral("value ") + value + " " + info.param.unit);
    });

struct IntegerCase
{
    QLocale locale;
    std::optional<qint64> value;
    const char *unit;
    std::optional<const char *> expected;
};

class GroupedInteger : public ::testing::TestWithParam<IntegerCase>
{
};

TEST_P(GroupedInteger, groupsWithPlainSpaces)
{
    const IntegerCase &c = GetParam();
    const auto text = formatGroupedInteger(c.value, QString::fromUtf8(c.unit), c.locale);
    ASSERT_EQ(text.has_value(), c.expected.has_value());
    if (text) {
        EXPECT_EQ(*text, QString::fromUtf8(*c.expected));
    }
}

const QLocale french(QLocale::French, QLocale::France);
const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);

INSTANTIATE_TEST_SUITE_P(Cases, GroupedInteger,
    ::testing::Values(IntegerCase{french, std::nullopt, "€", std::nullopt},
                      IntegerCase{french, 250000, "€", "250 000 €"},
                      IntegerCase{french, 0, "€", "0 €"},
                      IntegerCase{french, 999, "", "999"},
                      IntegerCase{french, -1500, "€/mois", "-1 500 €/mois"},
                      IntegerCase{english, 1234567, "", "1 234 567"},
                      IntegerCase{german, 1234567, "", "1 234 567"},
                      IntegerCase{english, std::numeric_limits<qint64>::min(), "",
                                  "-9 223 372 036 854 775 808"},
                      // The C locale writes no separator at all.
                      IntegerCase{QLocale::c(), 250000, "€", "250000 €"}),
    [](const auto &info) {
        const std::optional<qint64> value = info.param.value;
        return caseName(QStringLiteral("%1 %2 %3")
                            .arg(info.param.locale.name(), value ? QString::number(*value) : QStringLiteral("none"),
                                 QString::fromUtf8(info.param.unit)));
    });

TEST(GroupedInteger, followsTheDefaultLocale)
{
    const QLocale before;
    QLocale::setDefault(french);
    EXPECT_EQ(formatGroupedInteger(4500, u"€"), QStringLiteral("4 500 €"));
    QLocale::setDefault(before);
}

} // namespace
