#include "widgets/WrappingText.h"

#include "model/DisplayText.h"
#include "model/SystemFont.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kBlockWidth = 484;

// The lines one layout of the whole paragraph would make.
int linesOfOneLayout(const QString &text, const QFont &font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(width);
    layout.endLayout();
    return layout.lineCount();
}

// A long paragraph is laid out a piece at a time, yet breaks into exactly
// the lines one layout of it would: no short line where a piece ends.
TEST(WrappingTextBlock, BreaksLinesAsOneLayoutWould)
{
    QString words;
    for (int i = 0; words.size() < 12000; ++i)
        words += QStringLiteral("mot%1 ").arg(i * 7919 % 1000);
    const QFont font = systemFont(13);
    for (const QString &paragraph : {words, QString(7000, QLatin1Char('W')), QStringLiteral("ab ") + QString(5000, u'é')}) {
        WrappingText text(font, Qt::white, DisplayLength::scrolling, kBlockWidth);
        text.setText(paragraph);
        const int lines = linesOfOneLayout(paragraph, font, kBlockWidth);
        EXPECT_GT(lines, 10);
        EXPECT_EQ(text.heightForWidth(kBlockWidth), int(std::ceil(lines * QFontMetricsF(font).height())));
    }
}

// A block keeps the author's line breaks; a title shows them as spaces.
TEST(WrappingTextBlock, AuthorsLineBreaksStartNewLines)
{
    for (const QString &text : {QStringLiteral("One.\nTwo."), QStringLiteral("One.\r\nTwo."), QStringLiteral("One.\rTwo.")}) {
        WrappingText oneLine(QFont(), Qt::white, DisplayLength::scrolling, kBlockWidth);
        oneLine.setText(QStringLiteral("One. Two."));
        WrappingText broken(QFont(), Qt::white, DisplayLength::scrolling, kBlockWidth);
        broken.setText(text);
        EXPECT_EQ(broken.heightForWidth(1000), 2 * oneLine.heightForWidth(1000)) << text.toStdString();
        EXPECT_EQ(broken.text(), QStringLiteral("One.\nTwo."));

        WrappingText title(systemFont(38, QFont::Bold), Qt::white, ShrinkToFit{3, 0.6});
        title.setText(text);
        EXPECT_EQ(title.text(), QStringLiteral("One. Two."));
    }
}

struct TitleCase
{
    const char *name;
    QString text;
    int width;
    int smallestSize; // of the fitted pixel size
    int largestSize;
    int lines;
};

class WrappingTextTitle : public testing::TestWithParam<TitleCase>
{
};

// A title of at most three lines at 38 px, shrinking to 60 % (23 px): it
// keeps its size while it fits, shrinks until no word is broken, and stops
// at the smallest size, cut to three lines, when nothing fits.
TEST_P(WrappingTextTitle, ShrinksToFitItsLines)
{
    const TitleCase &c = GetParam();
    WrappingText title(systemFont(38, QFont::Bold), Qt::white, ShrinkToFit{3, 0.6});
    title.setText(c.text);
    title.resize(c.width, 300);
    const int size = title.fittedPixelSize();
    EXPECT_GE(size, c.smallestSize);
    EXPECT_LE(size, c.largestSize);
    const double lineSpacing = QFontMetricsF(systemFont(size, QFont::Bold)).lineSpacing();
    EXPECT_EQ(title.heightForWidth(c.width), int(std::ceil(c.lines * lineSpacing)));
}

QString words(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("mot%1").arg(i);
    return list.join(QLatin1Char(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Titles, WrappingTextTitle,
    testing::Values(TitleCase{"Short", QStringLiteral("Villa"), 600, 38, 38, 1},
                    TitleCase{"TwoLinesAtFullSize", words(5), 400, 38, 38, 2},
                    TitleCase{"ShrinksToThreeLines", words(14), 400, 24, 37, 3},
                    TitleCase{"WordWiderThanTheLine", QStringLiteral("Ab Cdefghijklmnopqrs"), 300, 24, 37, 2},
                    TitleCase{"CutAtTheSmallestSize", words(400), 400, 23, 23, 3},
                    TitleCase{"HugeWordCutAtTheSmallestSize", QString(100000, QLatin1Char('W')), 400, 23, 23, 3},
                    TitleCase{"Empty", QString(), 400, 38, 38, 0}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
