#include "widgets/ModalFrame.h"

#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A frame whose panel is as wide as given and as high as the rows added.
class TestFrame final : public ModalFrame
{
public:
    TestFrame(DialogFocus focus, int panelWidth)
        : ModalFrame(ModalFrameLook{QColor(0, 0, 0, 140), Qt::darkGray, 14, std::nullopt}, focus, nullptr)
    {
        panel()->setFixedWidth(panelWidth);
        onClose = [this] { ++closeCount; };
    }

    QWidget *addRow(int height)
    {
        auto *row = new QWidget(panel());
        row->setFixedHeight(height);
        panelColumn()->addWidget(row);
        return row;
    }

    int closeCount = 0;
};

// An 800 by 600 frame with a 300 by 100 panel in its middle, shown.
std::unique_ptr<TestFrame> shownFrame(DialogFocus focus)
{
    auto frame = std::make_unique<TestFrame>(focus, 300);
    frame->addRow(100);
    frame->resize(800, 600);
    frame->show();
    return frame;
}

// A press and a release at points of the frame, each sent where the window
// system would send it: to the widget under the press, which keeps the mouse
// until the release.
void pressAndRelease(QWidget &frame, QPoint press, QPoint release, Qt::MouseButton button = Qt::LeftButton)
{
    QWidget *target = frame.childAt(press) ? frame.childAt(press) : &frame;
    QTest::mousePress(target, button, {}, target->mapFrom(&frame, press));
    QTest::mouseRelease(target, button, {}, target->mapFrom(&frame, release));
}

struct ClickCase
{
    const char *name;
    QPoint press;
    QPoint release;
    Qt::MouseButton button;
    int closes;
};

class ModalFrameClicks : public testing::TestWithParam<ClickCase>
{
};

// Only a whole click on the backdrop asks to close: not a click on the panel
// or its rows, nor a drag between the two, nor another button.
TEST_P(ModalFrameClicks, CloseOnlyOnABackdropClick)
{
    const auto frame = shownFrame(DialogFocus::exclusive);
    ASSERT_EQ(frame->panelGeometry(), QRect(250, 250, 300, 100));
    pressAndRelease(*frame, GetParam().press, GetParam().release, GetParam().button);
    EXPECT_EQ(frame->closeCount, GetParam().closes);
}

const QPoint backdrop(20, 20);
const QPoint onRow(400, 300);
const QPoint onPanelEdge(251, 251);

INSTANTIATE_TEST_SUITE_P(Clicks, ModalFrameClicks,
                         testing::Values(ClickCase{"Backdrop", backdrop, backdrop, Qt::LeftButton, 1},
                                         ClickCase{"Row", onRow, onRow, Qt::LeftButton, 0},
                                         ClickCase{"PanelEdge", onPanelEdge, onPanelEdge, Qt::LeftButton, 0},
                                         ClickCase{"FromBackdropToPanel", backdrop, onRow, Qt::LeftButton, 0},
                                         ClickCase{"FromPanelToBackdrop", onRow, backdrop, Qt::LeftButton, 0},
                                         ClickCase{"RightButton", backdrop, backdrop, Qt::RightButton, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

// A centred panel follows its content and the frame: rows added while it is
// shown make it grow about its middle, a frame lower than it clips it.
TEST(ModalFrame, CentredPanelFollowsItsContentAndTheFrame)
{
    const auto frame = shownFrame(DialogFocus::contained);
    EXPECT_EQ(frame->panelGeometry(), QRect(250, 250, 300, 100));
    EXPECT_EQ(dialogFocus(*frame), DialogFocus::contained);

    frame->addRow(200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->panelGeometry() == QRect(250, 150, 300, 300); }, 1000));

    frame->resize(800, 200);
    QTest::qWait(1);
    EXPECT_EQ(frame->panelGeometry(), QRect(250, 0, 300, 200));
}

} // namespace
