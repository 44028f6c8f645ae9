#include "model/LumivaneProject.h"
#include "model/Palette.h"
#include "model/ViewerAccent.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct AccentCase
{
    const char *name;
    const char16_t *text;
    std::optional<QRgb> rgb; // none: the text is rejected
};

void PrintTo(const AccentCase &c, std::ostream *os)
{
    *os << c.name;
}

class RgbColorFromHex : public testing::TestWithParam<AccentCase>
{
};

TEST_P(RgbColorFromHex, ParsesOrRejects)
{
    const AccentCase &c = GetParam();
    const std::optional<QColor> color = rgbColorFromHex(QStringView(c.text));
    ASSERT_EQ(color.has_value(), c.rgb.has_value());
    if (color) {
        EXPECT_EQ(color->rgba(), qRgba(qRed(*c.rgb), qGreen(*c.rgb), qBlue(*c.rgb), 255));
        EXPECT_EQ(color->spec(), QColor::Rgb);
    }
}

constexpr QRgb gold = 0xC9A961;

INSTANTIATE_TEST_SUITE_P(Cases, RgbColorFromHex, testing::Values(
    AccentCase{"gold", u"#C9A961", gold},
    AccentCase{"noHash", u"C9A961", gold},
    AccentCase{"lowerCase", u"#c9a961", gold},
    AccentCase{"mixedCase", u"c9A96f", 0xC9A96F},
    AccentCase{"spacesAndTabs", u" \t#C9A961\t ", gold},
    AccentCase{"unicodeSpaceSeparators", u"\u00A0\u2003C9A961\u3000\u202F", gold},
    AccentCase{"trailingLineBreak", u"#C9A961\n", std::nullopt},
    AccentCase{"leadingLineBreak", u"\r\n#C9A961", std::nullopt},
    AccentCase{"lineSeparator", u"#C9A961\u2028", std::nullopt},
    AccentCase{"twoHashes", u"##C9A961", std::nullopt},
    AccentCase{"hashThenSpace", u"# C9A961", std::nullopt},
    AccentCase{"fiveDigits", u"#C9A96", std::nullopt},
    AccentCase{"eightDigits", u"#80C9A961", std::nullopt},
    AccentCase{"threeDigits", u"#FFF", std::nullopt},
    AccentCase{"innerSpace", u"C9 A96", std::nullopt},
    AccentCase{"nonHexLetter", u"C9A96G", std::nullopt},
    AccentCase{"hexPrefix", u"0x1234", std::nullopt},
    AccentCase{"empty", u"", std::nullopt},
    AccentCase{"hashAlone", u"#", std::nullopt},
    AccentCase{"fullWidthDigits", u"\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16", std::nullopt},
    AccentCase{"combiningMarkIsSixCharactersButNotHex", u"C9A96e\u0301", std::nullopt},
    AccentCase{"plusAndFiveDigits", u"+A9A61", 0x0A9A61},
    AccentCase{"plusAfterHash", u"#+00FF0", 0x0000FF0},
    AccentCase{"minusAndZeros", u"-00000", 0x000000},
    AccentCase{"minusNonZero", u"-00001", std::nullopt},
    AccentCase{"signAlone", u"+", std::nullopt},
    AccentCase{"innerSign", u"12+456", std::nullopt},
    AccentCase{"twoSigns", u"+-1234", std::nullopt}));

LumivaneProject projectWithAccent(std::optional<QString> hex)
{
    LumivaneProject project;
    project.brandingAccentHex = std::move(hex);
    return project;
}

TEST(ProjectAccentColor, BrandColourElseGold)
{
    EXPECT_EQ(projectAccentColor(projectWithAccent(QStringLiteral("#2E7D6B"))), QColor(0x2E, 0x7D, 0x6B));
    EXPECT_EQ(projectAccentColor(projectWithAccent(std::nullopt)), paletteGold());
    EXPECT_EQ(projectAccentColor(projectWithAccent(QString())), paletteGold());
    EXPECT_EQ(projectAccentColor(projectWithAccent(QStringLiteral("#C9A961\n"))), paletteGold());
}

} // namespace
