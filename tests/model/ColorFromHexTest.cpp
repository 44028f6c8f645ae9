#include "model/Palette.h"

#include <QFontInfo>

#include <gtest/gtest.h>

namespace {

struct HexCase
{
    const char *name;
    const char *text;
    int red;
    int green;
    int blue;
    int alpha;
};

void PrintTo(const HexCase &c, std::ostream *os)
{
    *os << c.name;
}

class ColorFromHex : public testing::TestWithParam<HexCase>
{
};

TEST_P(ColorFromHex, ReadsComponents)
{
    const HexCase &c = GetParam();
    const QColor color = colorFromHex(QString::fromUtf8(c.text));
    EXPECT_EQ(color.spec(), QColor::Rgb);
    EXPECT_EQ(color.red(), c.red);
    EXPECT_EQ(color.green(), c.green);
    EXPECT_EQ(color.blue(), c.blue);
    EXPECT_EQ(color.alpha(), c.alpha);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorFromHex, testing::Values(
    HexCase{"gold", "#C9A961", 201, 169, 97, 255},
    HexCase{"noHash", "C9A961", 201, 169, 97, 255},
    HexCase{"lowerCase", "c9a961", 201, 169, 97, 255},
    HexCase{"spaces", " #C9A961 ", 201, 169, 97, 255},
    HexCase{"fullStop", "#C9A961.", 201, 169, 97, 255},
    HexCase{"newlines", "\n#C9A961\n", 201, 169, 97, 255},
    HexCase{"alphaFirst", "80C9A961", 201, 169, 97, 128},
    HexCase{"alphaFirstHash", "#80C9A961", 201, 169, 97, 128},
    HexCase{"threeDigits", "FFF", 0, 0, 0, 255},
    HexCase{"empty", "", 0, 0, 0, 255},
    HexCase{"innerSpace", "C9 A961", 0, 0, 0, 255},
    HexCase{"sixNonHex", "ZZZZZZ", 0, 0, 0, 255},
    HexCase{"eightNonHex", "ZZZZZZZZ", 0, 0, 0, 0},
    HexCase{"scanStops", "12G456", 0, 0, 18, 255},
    HexCase{"hexPrefix", "0xABCD", 0, 171, 205, 255},
    HexCase{"scanStopsAtAccent", "C9A96\u00e9", 0x0C, 0x9A, 0x96, 255},
    HexCase{"combiningMarkCountsOnce", "C9A96e\u0301", 201, 169, 110, 255},
    HexCase{"trailingEmojiTrimmed", "C9A961\U0001F600", 201, 169, 97, 255}));

TEST(Palette, FixedColours)
{
    EXPECT_EQ(paletteGold(), QColor(201, 169, 97));
    EXPECT_EQ(paletteBrown(), QColor(160, 99, 45));
    EXPECT_EQ(paletteGreen(), QColor(46, 125, 107));
    EXPECT_EQ(paletteRed(), QColor(181, 75, 58));
}

TEST(Palette, AppearanceColoursResolvePerAppearance)
{
    EXPECT_EQ(paletteTextPrimary.resolved(Appearance::dark), QColor(0xE8, 0xDC, 0xC4));
    EXPECT_EQ(paletteTextPrimary.resolved(Appearance::light), QColor(0x1B, 0x2A, 0x4E));
    EXPECT_EQ(paletteCardBackground.resolved(Appearance::light), QColor(Qt::white));
    EXPECT_EQ(paletteBorder.resolved(Appearance::dark), QColor(0x2A, 0x3A, 0x5E));
}

// Sizes are logical pixels: a point size would come out a third larger.
TEST(Palette, Fonts)
{
    EXPECT_EQ(QFontInfo(paletteBodyFont()).pixelSize(), 14);
    EXPECT_EQ(paletteBodyFont().weight(), QFont::Normal);
    EXPECT_EQ(QFontInfo(paletteButtonFont()).pixelSize(), 13);
    EXPECT_EQ(paletteButtonFont().weight(), QFont::Medium);
    EXPECT_EQ(QFontInfo(paletteCaptionFont()).pixelSize(), 12);
    EXPECT_EQ(paletteCaptionFont().weight(), QFont::Medium);
}

} // namespace
