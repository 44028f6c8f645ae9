#include "widgets/SymbolImages.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Every symbol name the views use.
const char *const kSymbolNames[] = {
    "arrow.down.right.and.arrow.up.left", "arrow.up.left.and.arrow.down.right", "arrow.up.right", "checkmark",
    "checkmark.circle.fill", "checkmark.seal.fill", "chevron.backward.circle.fill", "chevron.down", "chevron.left",
    "chevron.right", "doc.richtext.fill", "envelope.fill", "eye.slash", "globe", "hand.thumbsdown.fill",
    "hand.thumbsup", "hand.thumbsup.fill", "house.fill", "info", "info.circle.fill", "level.fill", "link",
    "list.bullet.rectangle", "lock.fill", "magnifyingglass", "map", "map.fill", "minus.magnifyingglass",
    "paperplane.fill", "pause.fill", "phone.fill", "photo", "photo.on.rectangle.angled", "play.circle.fill",
    "play.fill", "play.rectangle.fill", "plus.magnifyingglass", "rectangle.stack", "rectangle.stack.fill",
    "speaker.slash.fill", "speaker.wave.2.fill", "text.alignleft", "vision.pro", "xmark", "xmark.circle.fill"};

struct SymbolCase
{
    const char *name;
    qreal ratio;
};

std::string caseName(const testing::TestParamInfo<SymbolCase> &info)
{
    std::string name = info.param.name;
    for (char &c : name) {
        if (c == '.')
            c = '_';
    }
    return name + (info.param.ratio > 1 ? "_x2" : "_x1");
}

std::vector<SymbolCase> allCases()
{
    std::vector<SymbolCase> cases;
    for (const char *name : kSymbolNames) {
        cases.push_back({name, 1});
        cases.push_back({name, 2});
    }
    return cases;
}

class EverySymbol : public testing::TestWithParam<SymbolCase>
{
};

// Drawn in the requested colour only: the icons' own ink must not leak
// through, and partly covered edge pixels keep the colour's hue.
TEST_P(EverySymbol, RendersInTheRequestedColourAtTheRatio)
{
    const SymbolCase &c = GetParam();
    const QString name = QString::fromLatin1(c.name);
    ASSERT_TRUE(hasSymbol(name));
    const QColor color(200, 40, 90);
    const QPixmap pixmap = symbolPixmap(name, 13, color, c.ratio);
    EXPECT_EQ(pixmap.devicePixelRatio(), c.ratio);
    EXPECT_EQ(pixmap.width(), std::lround(symbolBoxSide(13) * c.ratio));
    EXPECT_EQ(pixmap.height(), pixmap.width());

    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    int covered = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 0)
                continue;
            ++covered;
            if (pixel.alpha() == 255) {
                ++opaque;
                EXPECT_EQ(pixel.rgb(), color.rgb()) << x << "," << y;
            }
        }
    }
    EXPECT_GT(opaque, image.width() / 2);
    EXPECT_LT(covered, image.width() * image.height()); // not a filled square
}

INSTANTIATE_TEST_SUITE_P(Names, EverySymbol, testing::ValuesIn(allCases()), caseName);

TEST(SymbolImages, TranslucentColourAndMemoising)
{
    const QColor dimmed = QColor::fromRgbF(1, 1, 1, 0.3f);
    const QPixmap first = symbolPixmap(u"xmark", 12, dimmed, 1);
    EXPECT_EQ(symbolPixmap(u"xmark", 12, dimmed, 1).cacheKey(), first.cacheKey());
    EXPECT_NE(symbolPixmap(u"xmark", 12, Qt::white, 1).cacheKey(), first.cacheKey());
    const QImage image = first.toImage().convertToFormat(QImage::Format_ARGB32);
    int maxAlpha = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            maxAlpha = std::max(maxAlpha, qAlpha(image.pixel(x, y)));
    }
    EXPECT_NEAR(maxAlpha, 77, 1);
}

TEST(SymbolImages, UnknownNameDrawsAFallback)
{
    EXPECT_FALSE(hasSymbol(u"no.such.symbol"));
    EXPECT_FALSE(hasSymbol(u""));
    QPixmap pixmap;
    EXPECT_DEBUG_DEATH(pixmap = symbolPixmap(u"no.such.symbol", 13, Qt::red, 2), "unknown symbol");
#ifdef QT_NO_DEBUG
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_NE(pixmap.toImage().pixelColor(pixmap.width() / 5, pixmap.height() / 2).alpha(), 0);
#endif
}

TEST(SymbolImages, DrawSymbolLandsOnWholePixels)
{
    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(2);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(0.3, 0.2);
    drawSymbol(painter, QPointF(10.1, 9.9), u"pause.fill", 10, Qt::white);
    painter.end();
    // A pixmap drawn between pixels is resampled; on the grid its fully
    // covered pixels stay fully opaque.
    int opaque = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x)
            opaque += qAlpha(canvas.pixel(x, y)) == 255;
    }
    const QImage alone = symbolPixmap(u"pause.fill", 10, Qt::white, 2).toImage();
    int aloneOpaque = 0;
    for (int y = 0; y < alone.height(); ++y) {
        for (int x = 0; x < alone.width(); ++x)
            aloneOpaque += qAlpha(alone.pixel(x, y)) == 255;
    }
    EXPECT_EQ(opaque, aloneOpaque);
}

} // namespace
