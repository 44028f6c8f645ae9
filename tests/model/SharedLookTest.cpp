#include "model/AnimationCurve.h"
#include "model/SystemFont.h"

#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct FontCase
{
    const char *name;
    double points;
    QFont::Weight weight;
    FontDesign design;
    bool italic;
    const char *family;
    int pixelSize;
};

void PrintTo(const FontCase &c, std::ostream *os)
{
    *os << c.name;
}

class SystemFontResolves : public testing::TestWithParam<FontCase>
{
};

// The resolved face, not just the request: a missing italic face would be
// slanted by the engine and report the upright style name.
TEST_P(SystemFontResolves, ToTheInstalledFace)
{
    const FontCase &c = GetParam();
    const QFont font = systemFont(c.points, c.weight, c.design, c.italic);
    const QRawFont raw = QRawFont::fromFont(font);
    EXPECT_EQ(raw.familyName(), QString::fromLatin1(c.family));
    EXPECT_EQ(raw.pixelSize(), c.pixelSize);
    EXPECT_EQ(raw.style() == QFont::StyleItalic || raw.style() == QFont::StyleOblique, c.italic);
    if (c.italic) {
        EXPECT_TRUE(raw.styleName().contains(QLatin1String("Italic")) || raw.styleName().contains(QLatin1String("Oblique")))
            << raw.styleName().toStdString();
    }
    EXPECT_EQ(raw.weight() >= QFont::DemiBold, c.weight >= QFont::DemiBold);
}

INSTANTIATE_TEST_SUITE_P(Cases, SystemFontResolves, testing::Values(
    FontCase{"body", 14, QFont::Normal, FontDesign::standard, false, "DejaVu Sans", 14},
    FontCase{"semibold", 13, QFont::DemiBold, FontDesign::standard, false, "DejaVu Sans", 13},
    FontCase{"serifItalicBrandWord", 46, QFont::Normal, FontDesign::serif, true, "DejaVu Serif", 46},
    FontCase{"monospacedKeyCap", 11, QFont::DemiBold, FontDesign::monospaced, false, "DejaVu Sans Mono", 11},
    FontCase{"sansItalic", 12, QFont::Normal, FontDesign::standard, true, "DejaVu Sans", 12},
    FontCase{"fractionRoundsToNearestPixel", 12.6, QFont::Normal, FontDesign::standard, false, "DejaVu Sans", 13}));

// Flags and the information panel's pictographs come from the colour emoji
// font through fallback: a grey result means the font is missing or drawn as
// an outline.
TEST(SystemFont, FlagRendersInColour)
{
    QImage image(96, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(systemFont(40));
    painter.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8("\U0001F1EB\U0001F1F7"));
    painter.end();
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int spread = std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            coloured += spread > 60;
        }
    }
    EXPECT_GT(coloured, 200);
}

struct CurveCase
{
    AnimationCurve curve;
    double atQuarter; // progress at a quarter of the time
    double atHalf;
};

class EasingCurves : public testing::TestWithParam<CurveCase>
{
};

TEST_P(EasingCurves, FollowTheirBeziers)
{
    const CurveCase &c = GetParam();
    const QEasingCurve easing = easingCurve(c.curve);
    EXPECT_NEAR(easing.valueForProgress(0), 0, 1e-6);
    EXPECT_NEAR(easing.valueForProgress(0.25), c.atQuarter, 0.005);
    EXPECT_NEAR(easing.valueForProgress(0.5), c.atHalf, 0.005);
    EXPECT_NEAR(easing.valueForProgress(1), 1, 1e-6);
}

constexpr const char *curveNames[] = {"linear", "easeIn", "easeOut", "easeInOut", "platformDefault"};

// Values of the cubic Béziers solved independently.
INSTANTIATE_TEST_SUITE_P(Curves, EasingCurves, testing::Values(
    CurveCase{AnimationCurve::linear, 0.25, 0.5},
    CurveCase{AnimationCurve::easeIn, 0.0935, 0.3154},
    CurveCase{AnimationCurve::easeOut, 0.3781, 0.6846},
    CurveCase{AnimationCurve::easeInOut, 0.1292, 0.5},
    CurveCase{AnimationCurve::platformDefault, 0.1292, 0.5}),
    [](const auto &info) { return std::string(curveNames[int(info.param.curve)]); });

} // namespace
