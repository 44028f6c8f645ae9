// The station view's layers: their order, where views sit in them, which
// clicks they take, and how views enter and leave.

#include "viewer/OverlayLayer.h"
#include "viewer/ViewerLayerStack.h"

#include <QGraphicsEffect>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

/// A view that asks for a fixed size.
class SizedView final : public QWidget
{
public:
    explicit SizedView(QSize hint, QWidget *parent = nullptr)
        : QWidget(parent)
        , m_hint(hint)
    {
    }
    QSize sizeHint() const override { return m_hint; }

private:
    QSize m_hint;
};

TEST(ViewerLayerStackTest, StacksTheSixteenLayersInTheirOrderAtTheStacksSize)
{
    ViewerLayerStack stack;
    stack.resize(1000, 700);
    stack.show();

    const QList<ViewerLayer> expected(allViewerLayers.cbegin(), allViewerLayers.cend());
    EXPECT_EQ(stack.stackingOrder(), expected);
    EXPECT_EQ(expected.size(), 16);
    EXPECT_EQ(expected.front(), ViewerLayer::background);
    EXPECT_EQ(expected.back(), ViewerLayer::keyboardShortcuts);
    for (ViewerLayer layer : allViewerLayers)
        EXPECT_EQ(stack.layer(layer).geometry(), QRect(0, 0, 1000, 700));
}

struct PlacementCase
{
    const char *name;
    LayerPlacement placement;
    QRect expected; // in a 1000 x 600 layer, for a view asking for 200 x 40
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase>
{
};

TEST_P(PlacementTest, PutsTheViewAtItsPlace)
{
    OverlayLayer layer;
    layer.resize(1000, 600);
    layer.show();
    auto *view = new SizedView({200, 40}, &layer);
    layer.addView(view, GetParam().placement, LayerTransition::none, ViewerAnimation::none());
    EXPECT_EQ(view->geometry(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Placements, PlacementTest,
    ::testing::Values(
        PlacementCase{"header", {Qt::AlignTop, {20, 16, 20, 0}, true, false}, {20, 16, 960, 40}},
        PlacementCase{"controlBar", {Qt::AlignLeft | Qt::AlignVCenter, {20, 0, 0, 0}}, {20, 280, 200, 40}},
        PlacementCase{"watermark", {Qt::AlignRight | Qt::AlignBottom, {0, 0, 20, 40}}, {780, 520, 200, 40}},
        PlacementCase{"immersiveExit", {Qt::AlignRight | Qt::AlignTop, {0, 12, 16, 0}}, {784, 12, 200, 40}},
        PlacementCase{"thumbStrip", {Qt::AlignBottom, {}, true, false}, {0, 560, 1000, 40}},
        PlacementCase{"card", {Qt::AlignCenter, {}}, {400, 280, 200, 40}},
        PlacementCase{"panel", LayerPlacement::fill(), {0, 0, 1000, 600}},
        PlacementCase{"tooSmall", {Qt::AlignCenter, {450, 0, 450, 0}}, {450, 280, 100, 40}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(OverlayLayerTest, ClicksOnItsEmptyPartsReachTheLayerBelow)
{
    QWidget window;
    window.resize(800, 600);
    auto *below = new QWidget(&window);
    below->setGeometry(window.rect());
    auto *layer = new OverlayLayer(&window);
    layer->setGeometry(window.rect());
    auto *button = new SizedView({100, 40}, layer);
    layer->addView(button, {Qt::AlignLeft | Qt::AlignTop, {20, 16, 0, 0}}, LayerTransition::none,
                   ViewerAnimation::none());
    window.show();

    EXPECT_EQ(window.childAt(40, 30), button);
    EXPECT_EQ(window.childAt(400, 300), below);

    layer->setClickThrough(true);
    EXPECT_EQ(window.childAt(40, 30), below);
}

TEST(OverlayLayerTest, FadesWithAnEffectOnlyWhileTheFadeRunsAndDeletesALeavingView)
{
    QWidget window;
    window.resize(800, 600);
    auto *layer = new OverlayLayer(&window);
    layer->setGeometry(window.rect());
    window.show();
    QPointer<QWidget> card = new SizedView({300, 100}, layer);

    layer->addView(card, {}, LayerTransition::opacity, {AnimationCurve::easeOut, 0.15});
    ASSERT_NE(card->graphicsEffect(), nullptr);
    EXPECT_TRUE(layer->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return card->graphicsEffect() == nullptr; }, 2000));

    layer->removeView(card, {AnimationCurve::easeIn, 0.15});
    EXPECT_TRUE(layer->isLeaving(card));
    EXPECT_NE(card->graphicsEffect(), nullptr);
    EXPECT_TRUE(card->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(QTest::qWaitFor([&] { return card.isNull(); }, 2000));
    EXPECT_TRUE(layer->views().isEmpty());
    EXPECT_FALSE(layer->isVisible());
}

TEST(OverlayLayerTest, AViewMovingInFromTheTrailingEdgeStartsOutsideAndEndsInPlace)
{
    QWidget window;
    window.resize(800, 600);
    auto *layer = new OverlayLayer(&window);
    layer->setGeometry(window.rect());
    window.show();
    auto *panel = new SizedView({380, 600}, layer);

    layer->addView(panel, {Qt::AlignRight, {}, false, true}, LayerTransition::moveFromTrailingEdge,
                   {AnimationCurve::easeOut, 0.2});
    EXPECT_GE(panel->x(), 800);
    EXPECT_EQ(panel->graphicsEffect(), nullptr); // a move needs no effect
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->x() == 420; }, 2000));
}

/// A view that remembers the size it had when it was first shown.
class ShownSizeView final : public QWidget
{
public:
    using QWidget::QWidget;
    QSize firstShownSize;

protected:
    void showEvent(QShowEvent *) override
    {
        if (!firstShownSize.isValid())
            firstShownSize = size();
    }
};

TEST(OverlayLayerTest, AViewIsInPlaceBeforeItIsFirstShown)
{
    QWidget window;
    window.resize(800, 600);
    auto *layer = new OverlayLayer(&window);
    layer->setGeometry(window.rect());
    window.show();
    auto *lightbox = new ShownSizeView(layer);

    layer->addView(lightbox, LayerPlacement::fill(), LayerTransition::opacity, {AnimationCurve::easeIn, 0.15});
    EXPECT_EQ(lightbox->firstShownSize, QSize(800, 600));
}

TEST(OverlayLayerTest, WithoutAnimationViewsComeAndGoAtOnce)
{
    OverlayLayer layer;
    layer.resize(800, 600);
    QPointer<QWidget> view = new SizedView({10, 10}, &layer);
    layer.addView(view, {}, LayerTransition::opacity, ViewerAnimation::none());
    EXPECT_EQ(view->graphicsEffect(), nullptr);
    layer.removeView(view, ViewerAnimation::none());
    EXPECT_TRUE(layer.views().isEmpty());
}

} // namespace
