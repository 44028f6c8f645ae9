#include "media/images/HotspotMarkerImages.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include <gtest/gtest.h>

namespace {

const QColor kGold("#C9A961");
const QColor kBrown("#A0632D");

// Pixel at a point of the y-up design coordinates.
QColor probe(const QImage &image, double x, double yUp)
{
    const double ratio = image.devicePixelRatio();
    const QSizeF points = image.deviceIndependentSize();
    const QPoint pixel(int(x * ratio), int((points.height() - yUp) * ratio));
    return QColor::fromRgba(image.pixel(pixel.x(), std::min(pixel.y(), image.height() - 1)));
}

bool isGoldish(const QColor &color)
{
    return color.red() > color.green() && color.green() > color.blue() && color.red() > 150;
}

TEST(HotspotMarkerImages, CanvasSizesInPoints)
{
    EXPECT_EQ(coreMarkerImage(kGold).deviceIndependentSize(), QSizeF(128, 128));
    EXPECT_EQ(rippleRingImage(kGold).deviceIndependentSize(), QSizeF(128, 128));
    EXPECT_EQ(classicHaloImage(kGold).deviceIndependentSize(), QSizeF(256, 256));
    EXPECT_EQ(markerIconImage(kGold, HotspotGlyph::arrow).deviceIndependentSize(), QSizeF(256, 256));
    EXPECT_EQ(coreMarkerImage(kGold).width(), int(128 * markerImagePixelRatio));
}

TEST(HotspotMarkerImages, MemoReturnsTheSameImagePerColourIgnoringAlpha)
{
    const QImage first = coreMarkerImage(kGold);
    QColor translucentGold = kGold;
    translucentGold.setAlphaF(0.2f);
    EXPECT_EQ(coreMarkerImage(kGold).cacheKey(), first.cacheKey());
    EXPECT_EQ(coreMarkerImage(translucentGold).cacheKey(), first.cacheKey());
    EXPECT_NE(coreMarkerImage(kBrown).cacheKey(), first.cacheKey());
    EXPECT_EQ(classicHaloImage(kBrown).cacheKey(), classicHaloImage(kBrown).cacheKey());
    EXPECT_EQ(markerColorKey(kGold), "0.788235294117647,0.6627450980392157,0.3803921568627451");
    EXPECT_EQ(markerColorKey(QColor()), "1,1,1");
}

TEST(HotspotMarkerImages, IconEntriesDifferByGlyphAndSymbol)
{
    const QList<qint64> keys = {
        markerIconImage(kBrown, HotspotGlyph::arrow).cacheKey(),
        markerIconImage(kBrown, HotspotGlyph::check).cacheKey(),
        markerIconImage(kBrown, HotspotGlyph::info).cacheKey(),
        markerIconImage(kBrown, HotspotGlyph::info, QStringLiteral("link")).cacheKey(),
    };
    for (int i = 0; i < keys.size(); ++i)
        for (int j = i + 1; j < keys.size(); ++j)
            EXPECT_NE(keys[i], keys[j]) << i << " " << j;
    EXPECT_EQ(markerIconImage(kBrown, HotspotGlyph::info, QStringLiteral("link")).cacheKey(), keys[3]);
}

TEST(HotspotMarkerImages, CoreHasColouredDotHighlightAndSoftShadow)
{
    const QImage core = coreMarkerImage(kGold);
    const QColor dot = probe(core, 54, 56);
    EXPECT_EQ(dot.alpha(), 255);
    EXPECT_NEAR(dot.red(), kGold.red(), 3);
    EXPECT_NEAR(dot.blue(), kGold.blue(), 3);
    // The highlight lightens the upper part of the dot.
    EXPECT_GT(probe(core, 64.6, 73.7).blue(), dot.blue() + 40);
    // The black shadow reaches past the outer disc, fading out.
    EXPECT_GT(probe(core, 9, 64).alpha(), 10);
    EXPECT_LT(probe(core, 0, 0).alpha(), probe(core, 9, 64).alpha());
}

TEST(HotspotMarkerImages, RingIsStrokedAndHollow)
{
    const QImage ring = rippleRingImage(kGold);
    EXPECT_TRUE(isGoldish(probe(ring, 6, 64)));
    EXPECT_GT(probe(ring, 6, 64).alpha(), 200);
    EXPECT_LT(probe(ring, 64, 64).alpha(), 10);
    EXPECT_LT(probe(ring, 0.5, 0.5).alpha(), 10);
}

TEST(HotspotMarkerImages, HaloIsTranslucentDiscWithGlow)
{
    const QImage halo = classicHaloImage(kGold);
    const QColor centre = probe(halo, 128, 128);
    EXPECT_GT(centre.alpha(), 80);
    EXPECT_LT(centre.alpha(), 200);
    EXPECT_GT(probe(halo, 40, 128).alpha(), 5); // glow outside the disc
}

TEST(HotspotMarkerImages, IconGlyphsSitOnWhiteDisc)
{
    const QImage arrow = markerIconImage(kGold, HotspotGlyph::arrow);
    EXPECT_TRUE(isGoldish(probe(arrow, 128, 150)));                   // the chevron's tip
    EXPECT_GT(probe(arrow, 128, 80).lightness(), 240);                 // plain disc below it
    EXPECT_GT(probe(arrow, 128, 38.4 - 4).alpha(), probe(arrow, 128, 217.6 + 4).alpha()); // shadow falls down

    const QImage check = markerIconImage(kGold, HotspotGlyph::check);
    EXPECT_TRUE(isGoldish(probe(check, 124.192, 107)));
    const QImage info = markerIconImage(kBrown, HotspotGlyph::info);
    EXPECT_LT(probe(info, 128, 148).lightness(), 150); // dot
    EXPECT_LT(probe(info, 128, 112).lightness(), 150); // bar
    EXPECT_GT(probe(info, 112, 140).lightness(), 240); // disc beside them
}

TEST(HotspotMarkerImages, LabelFitsTextWithPointer)
{
    const QImage narrow = hotspotLabelImage(QStringLiteral("A"));
    const QSizeF size = narrow.deviceIndependentSize();
    EXPECT_NEAR(size.width(), 72, 0.5);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(16);
    font.setWeight(QFont::Medium);
    EXPECT_NEAR(size.height(), QFontMetricsF(font).height() + 18, 0.5);
    // Pointer under the middle; the lowest corners are empty.
    EXPECT_GT(probe(narrow, 36, 2).alpha(), 200);
    EXPECT_LT(probe(narrow, 2, 2).alpha(), 10);
    EXPECT_GT(probe(narrow, 2, size.height() / 2).alpha(), 200);

    const QImage wide = hotspotLabelImage(QStringLiteral("Grand salon avec vue sur le jardin"));
    EXPECT_GT(wide.deviceIndependentSize().width(), 200);
    // A name of a thousand letters ends in an ellipsis within the view.
    const QImage endless = hotspotLabelImage(QString(1024, u'M'));
    EXPECT_LE(endless.deviceIndependentSize().width(), 640 + 24 + 0.5);
    EXPECT_EQ(hotspotLabelImage(QStringLiteral("A")).cacheKey(), narrow.cacheKey());
}

} // namespace
