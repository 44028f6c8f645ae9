// The viewer's buttons and the keyboard: focus from Tab only, a ring and
// Space or Return presses only while the visitor moves with the keyboard.

#include "model/Palette.h"
#include "widgets/CapsuleButton.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/RoundSymbolLabels.h"
#include "widgets/ScrollAreaFocus.h"
#include "widgets/SymbolButton.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class KeyboardFocusTest : public ::testing::Test
{
protected:
    KeyboardFocusTest()
    {
        auto *row = new QHBoxLayout(&window);
        row->addWidget(first);
        row->addWidget(second);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        // As the viewer does: the window keeps its first focus itself.
        window.setFocus();
    }

    // The ring's gold, at the middle of the disc's left edge.
    static bool showsGold(QWidget &button)
    {
        const QImage image = button.grab().toImage();
        const QColor edge = image.pixelColor(1, image.height() / 2);
        return std::abs(edge.red() - paletteGold().red()) < 40 && std::abs(edge.blue() - paletteGold().blue()) < 40;
    }

    QWidget window;
    SymbolButton *first = new SymbolButton(roundIconLabelCompact(QStringLiteral("xmark")));
    CapsuleButton *second = new CapsuleButton(CapsuleLook{}, QStringLiteral("Infos"));
};

TEST_F(KeyboardFocusTest, TabShowsTheRingAndReturnOrSpacePress)
{
    EXPECT_FALSE(first->hasFocus());
    QTest::keyClick(&window, Qt::Key_Tab);
    ASSERT_TRUE(first->hasFocus());
    EXPECT_TRUE(KeyboardFocus::isNavigating());
    EXPECT_TRUE(showsGold(*first));
    EXPECT_FALSE(showsGold(*second));

    QSignalSpy firstClicks(first, &QAbstractButton::clicked);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(firstClicks.wait(1000));
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    EXPECT_TRUE(showsGold(*second));
    QSignalSpy secondClicks(second, &QAbstractButton::clicked);
    QTest::keyClick(second, Qt::Key_Space);
    QTest::qWait(300);
    EXPECT_EQ(secondClicks.count(), 1) << "pressed once, press and release together";
}

TEST_F(KeyboardFocusTest, AClickTakesNoFocusAndEndsTheRingAndTheKeys)
{
    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_FALSE(second->hasFocus()) << "a click leaves the focus where it was";

    QTest::keyClick(&window, Qt::Key_Tab);
    ASSERT_TRUE(first->hasFocus());
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_FALSE(KeyboardFocus::isNavigating());
    EXPECT_TRUE(first->hasFocus());
    EXPECT_FALSE(showsGold(*first)) << "the unseen focus shows no ring";
    QSignalSpy clicks(first, &QAbstractButton::clicked);
    QTest::keyClick(first, Qt::Key_Return);
    QTest::keyClick(first, Qt::Key_Space);
    QTest::qWait(300);
    EXPECT_EQ(clicks.count(), 0) << "and presses nothing";
}

TEST(ScrollAreaFocusTest, OnlyAReachableAreaScrollsByTheKeys)
{
    const QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QTextBrowser area;
    KeyboardFocus::makeReachable(area);
    EXPECT_TRUE(ScrollAreaFocus::scrollsBy(area, down));
    QWidget withChild;
    new QObject(&withChild);
    EXPECT_FALSE(ScrollAreaFocus::scrollsBy(withChild, down));
}

} // namespace
