#include "widgets/CapsuleButton.h"
#include "widgets/RoundSymbolLabels.h"
#include "widgets/SymbolButton.h"
#include "widgets/SymbolImages.h"

#include <QFontMetricsF>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The widget alone on a transparent canvas at a device pixel ratio, so
// pixels read back as the colours it painted.
QImage renderAt(QWidget &widget, qreal ratio)
{
    widget.resize(widget.sizeHint());
    QImage image(widget.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// A pixel in logical coordinates, unpremultiplied.
QColor pixelAt(const QImage &image, QPointF logical)
{
    const qreal ratio = image.devicePixelRatio();
    return image.convertToFormat(QImage::Format_ARGB32).pixelColor(int(logical.x() * ratio), int(logical.y() * ratio));
}

bool holdsColour(const QImage &image, const QColor &color)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (argb.pixel(x, y) == color.rgba())
                return true;
        }
    }
    return false;
}

void expectColourNear(const QColor &actual, const QColor &expected)
{
    EXPECT_NEAR(actual.red(), expected.red(), 2);
    EXPECT_NEAR(actual.green(), expected.green(), 2);
    EXPECT_NEAR(actual.blue(), expected.blue(), 2);
    EXPECT_NEAR(actual.alpha(), expected.alpha(), 2);
}

struct RoundLabelCase
{
    const char *name;
    SymbolButtonLook look;
    int side;
    int discAlpha;
    bool enabled;
    QColor symbolColor; // the colour the symbol's solid pixels take over the disc
};

void PrintTo(const RoundLabelCase &c, std::ostream *os)
{
    *os << c.name;
}

class RoundLabels : public testing::TestWithParam<std::tuple<RoundLabelCase, qreal>>
{
};

// The symbol composited over the disc: white at alpha a over black at alpha d.
QColor whiteOverBlack(double symbolAlpha, double discAlpha)
{
    const double alpha = symbolAlpha + discAlpha * (1 - symbolAlpha);
    return QColor::fromRgbF(float(symbolAlpha / alpha), float(symbolAlpha / alpha), float(symbolAlpha / alpha),
                            float(alpha));
}

TEST_P(RoundLabels, SizeDiscAndSymbolColour)
{
    const auto &[c, ratio] = GetParam();
    SymbolButton button(c.look);
    button.setEnabled(c.enabled);
    EXPECT_EQ(button.sizeHint(), QSize(c.side, c.side));
    const QImage image = renderAt(button, ratio);
    // Just inside the disc's edge at the left middle: disc only.
    EXPECT_NEAR(pixelAt(image, QPointF(2.5, c.side / 2.0)).alpha(), c.discAlpha, 3);
    EXPECT_EQ(pixelAt(image, QPointF(0.5, 0.5)).alpha(), 0); // outside the circle
    EXPECT_TRUE(holdsColour(image, c.symbolColor)) << c.name << " at " << ratio;
}

INSTANTIATE_TEST_SUITE_P(Table, RoundLabels, testing::Combine(testing::Values(
    RoundLabelCase{"large", roundIconLabelLarge("chevron.left"), 44, 128, true, Qt::white},
    RoundLabelCase{"compact", roundIconLabelCompact("house.fill"), 34, 153, true, Qt::white},
    RoundLabelCase{"historyEnabled", historyButtonLabel("chevron.left"), 30, 140, true, Qt::white},
    RoundLabelCase{"historyDisabled", historyButtonLabel("chevron.right"), 30, 140, false, whiteOverBlack(0.3, 0.55)},
    RoundLabelCase{"close", viewerCloseButtonLabel(), 32, 140, true, Qt::white},
    RoundLabelCase{"immersiveExit", immersiveExitLabel(), 30, 128, true, whiteOverBlack(0.85, 0.5)}),
    testing::Values(1.0, 2.0)));

TEST(CapsuleButton, SizeFollowsContent)
{
    CapsuleButton button(capsuleLook(Capsule::headerInfo), QStringLiteral("Infos"));
    const QFontMetricsF metrics(systemFont(13, QFont::DemiBold));
    const double width = symbolBoxSide(12) + 6 + metrics.horizontalAdvance(QStringLiteral("Infos")) + 24;
    const double height = std::max(symbolBoxSide(12), metrics.height()) + 16;
    EXPECT_EQ(button.sizeHint(), QSize(int(std::ceil(width)), int(std::ceil(height))));

    CapsuleLook textOnly = capsuleLook(Capsule::headerInfo);
    textOnly.symbol.clear();
    CapsuleButton plain(textOnly, QStringLiteral("Infos"));
    EXPECT_EQ(plain.sizeHint().width(), int(std::ceil(metrics.horizontalAdvance(QStringLiteral("Infos")) + 24)));
}

TEST(CapsuleButton, PaintsBackgroundOutlineAndForeground)
{
    CapsuleLook look = capsuleLook(Capsule::headerInfo);
    look.background = QColor(20, 60, 200);
    look.outline = CapsuleOutline{QColor(250, 200, 0), 2};
    CapsuleButton button(look, QStringLiteral("Infos"));
    for (const qreal ratio : {1.0, 2.0}) {
        const QImage image = renderAt(button, ratio);
        const QSize size = button.size();
        expectColourNear(pixelAt(image, QPointF(size.width() / 2.0, 0.5)), QColor(250, 200, 0));
        expectColourNear(pixelAt(image, QPointF(size.width() / 2.0, 3.5)), QColor(20, 60, 200));
        EXPECT_EQ(pixelAt(image, QPointF(0.5, 0.5)).alpha(), 0); // rounded corner
        EXPECT_TRUE(holdsColour(image, Qt::white));
    }
}

TEST(CapsuleButton, DisabledOpacityDimsTheWholeButton)
{
    CapsuleLook look = capsuleLook(Capsule::headerInfo);
    look.background = Qt::black;
    look.disabledOpacity = 0.4;
    CapsuleButton button(look, QStringLiteral("Envoyer"));
    const QPointF inside(button.sizeHint().width() / 2.0, 2.5);
    EXPECT_EQ(pixelAt(renderAt(button, 1), inside).alpha(), 255);
    button.setEnabled(false);
    EXPECT_NEAR(pixelAt(renderAt(button, 1), inside).alpha(), 102, 2);
}

// The kiosk stop button's accent shadow: room below the capsule, shadow
// colour under it, nothing above.
TEST(CapsuleButton, ShadowSitsInTheMarginsBelow)
{
    CapsuleLook look = capsuleLook(Capsule::headerInfo);
    look.background = QColor(201, 169, 97);
    look.shadow = DropShadow{QColor::fromRgbF(201 / 255.f, 169 / 255.f, 97 / 255.f, 0.4f), 8, QPointF(0, 4)};
    CapsuleButton button(look, QStringLiteral("Arrêter"));
    const QMargins margins = button.contentsMargins();
    EXPECT_EQ(margins, QMargins(12, 8, 12, 16));
    const QImage image = renderAt(button, 2);
    const double centreX = button.width() / 2.0;
    const QColor below = pixelAt(image, QPointF(centreX, button.height() - margins.bottom() + 4));
    EXPECT_GT(below.alpha(), 40);
    EXPECT_LT(below.alpha(), 102);
    // Faint pixels lose a little colour to premultiplied rounding.
    EXPECT_NEAR(below.red(), 201, 5);
    EXPECT_NEAR(below.green(), 169, 5);
    EXPECT_NEAR(below.blue(), 97, 5);
    EXPECT_LT(pixelAt(image, QPointF(centreX, 0.5)).alpha(), 3);
    expectColourNear(pixelAt(image, QPointF(centreX, margins.top() + 2.5)), QColor(201, 169, 97));
}

} // namespace
