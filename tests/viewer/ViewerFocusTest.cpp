// The order Tab reads the views of the overlay layers in: top to bottom by
// lines, left to right along each line.

#include "viewer/OverlayLayer.h"
#include "viewer/ViewerFocus.h"
#include "widgets/PaintedItemAccessibility.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

/// A control that may name where it reads, as a panorama names its first marker.
class ReadControl final : public QWidget, public PaintedItemHost
{
public:
    ReadControl(QSize size, std::optional<QRect> place)
        : m_size(size)
        , m_place(place)
    {
        setFocusPolicy(Qt::TabFocus);
    }

    QSize sizeHint() const override { return m_size; }
    std::optional<QRect> readingPlace() const override { return m_place; }
    int paintedItemCount() const override { return 0; }
    QString paintedItemName(int) const override { return {}; }
    QRect paintedItemRect(int) const override { return {}; }
    void pressPaintedItem(int) override {}
    std::optional<int> paintedItemAt(QPointF) const override { return std::nullopt; }

private:
    QSize m_size;
    std::optional<QRect> m_place;
};

struct Control
{
    const char *name;
    QRect geometry;
    std::optional<QRect> place = std::nullopt;
};

struct ReadingCase
{
    const char *name;
    QList<Control> controls; // each a view of its own, in the order they come
    const char *expected; // the names in reading order
};

void PrintTo(const ReadingCase &c, std::ostream *os)
{
    *os << c.name;
}

// Where a control that names a place 1e308 pixels away reads: the place
// comes out spanning every int, and its width does not fit one.
constexpr int lowest = std::numeric_limits<int>::min();
constexpr int highest = std::numeric_limits<int>::max();
const QRect everywhere(QPoint(lowest, lowest), QPoint(highest, highest));

class ReadingOrderTest : public ::testing::TestWithParam<ReadingCase>
{
};

TEST_P(ReadingOrderTest, ReadsLinesTopToBottomAndEachLineLeftToRight)
{
    QWidget window;
    window.resize(1000, 800);
    auto *layer = new OverlayLayer(&window);
    layer->resize(window.size());
    window.show();
    for (const Control &control : GetParam().controls) {
        auto *view = new ReadControl(control.geometry.size(), control.place);
        view->setObjectName(QString::fromLatin1(control.name));
        const LayerPlacement at{Qt::AlignLeft | Qt::AlignTop, {control.geometry.x(), control.geometry.y(), 0, 0}};
        layer->addView(view, at, LayerTransition::none, ViewerAnimation::none());
    }
    QStringList read;
    for (const QWidget *stop : ViewerFocus::tabStops({&window}))
        read << stop->objectName();
    EXPECT_EQ(read.join(QLatin1Char(' ')).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ReadingOrderTest,
    ::testing::Values(
        ReadingCase{"twoLines", {{"below", {100, 300, 80, 40}}, {"above", {600, 20, 80, 40}}}, "above below"},
        ReadingCase{"oneLineNotTopAligned",
                    {{"right", {600, 20, 80, 40}}, {"left", {100, 30, 80, 40}}, {"under", {100, 300, 80, 40}}},
                    "left right under"},
        ReadingCase{"placeOnItsItems",
                    {{"wide", {0, 0, 1000, 800}, QRect(500, 400, 1, 1)}, {"corner", {20, 20, 80, 40}}},
                    "corner wide"},
        ReadingCase{"placeFarOutside",
                    {{"far", {100, 300, 80, 40}, everywhere},
                     {"left", {100, 20, 80, 40}},
                     {"right", {600, 20, 80, 40}},
                     {"under", {600, 600, 80, 40}}},
                    "left right far under"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
