#include "model/DisplayText.h"

#include <gtest/gtest.h>

namespace {

const QString kEllipsis(QChar(0x2026));

QString marks(int count)
{
    return QString(count, QChar(0x0301));
}

const QString kJoinedMan = QString::fromUcs4(U"\U0001F468\u200D");
const QString kFlag = QString::fromUcs4(U"\U0001F1EB\U0001F1F7");

struct DisplayCase
{
    const char *name;
    QString text;
    LineBreaks lineBreaks;
    QString expected;
};

void PrintTo(const DisplayCase &c, std::ostream *os)
{
    *os << c.name;
}

class DisplayTextCase : public testing::TestWithParam<DisplayCase>
{
};

TEST_P(DisplayTextCase, ShowsControlCharactersAsSpacesAndKeepsWhatAGlyphCanShow)
{
    const DisplayCase &c = GetParam();
    EXPECT_EQ(displayText(c.text, DisplayLength::line, c.lineBreaks), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DisplayTextCase,
    testing::Values(
        DisplayCase{"ordinaryText", QStringLiteral("Salle à manger ☀️ 👨‍👩‍👧"), LineBreaks::asSpaces,
                    QStringLiteral("Salle à manger ☀️ 👨‍👩‍👧")},
        DisplayCase{"c0AndDel", QStringLiteral("a\tb\x01" "c\x1b" "d\x7f" "e"), LineBreaks::asSpaces,
                    QStringLiteral("a b c d e")},
        DisplayCase{"c1", QStringLiteral(u"a\u0085b\u009bc\u0080d"), LineBreaks::asSpaces, QStringLiteral("a b c d")},
        DisplayCase{"separators", QStringLiteral(u"a\u2028b\u2029c"), LineBreaks::asSpaces, QStringLiteral("a b c")},
        DisplayCase{"lineBreaksOnOneLine", QStringLiteral("a\nb\r\nc\rd"), LineBreaks::asSpaces,
                    QStringLiteral("a b c d")},
        DisplayCase{"lineBreaksKept", QStringLiteral(u"a\nb\r\nc\rd\u2028e\u2029f\u0085g\x0bh\x0ci"), LineBreaks::kept,
                    QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh\ni")},
        DisplayCase{"otherControlsWhereBreaksAreKept", QString::fromUtf16(u"a\tb\0c\u009fd", 7), LineBreaks::kept,
                    QStringLiteral("a b c d")},
        DisplayCase{"nulInTheMiddle", QString::fromUtf16(u"a\0b", 3), LineBreaks::asSpaces, QStringLiteral("a b")},
        // Vietnamese stacks two marks on a letter, decomposed text as typed on some systems.
        DisplayCase{"fewMarksStay", QStringLiteral(u"Vie\u0323\u0302t"), LineBreaks::asSpaces,
                    QStringLiteral(u"Vie\u0323\u0302t")},
        DisplayCase{"markRunsCapped", QStringLiteral("a") + marks(200000) + QStringLiteral("b"), LineBreaks::asSpaces,
                    QStringLiteral("a") + marks(8) + kEllipsis},
        DisplayCase{"eachLetterItsOwnMarks", QStringLiteral("a") + marks(20) + QStringLiteral("b") + marks(3),
                    LineBreaks::asSpaces, QStringLiteral("a") + marks(8) + QStringLiteral("b") + marks(3)},
        // A family, a kiss of two skin tones (ten code points), a keycap and
        // a subdivision's flag stay whole; so do flags in a name, and scripts.
        DisplayCase{"ordinaryEmoji", QStringLiteral("👨‍👩‍👧‍👦 👩🏻‍❤️‍💋‍👨🏼 1️⃣ 🏴󠁧󠁢󠁳󠁣󠁴󠁿"), LineBreaks::asSpaces,
                    QStringLiteral("👨‍👩‍👧‍👦 👩🏻‍❤️‍💋‍👨🏼 1️⃣ 🏴󠁧󠁢󠁳󠁣󠁴󠁿")},
        DisplayCase{"ordinaryFlagsAndScripts", QStringLiteral("Tour 🇫🇷🇮🇹🇪🇸 日本の家 بيت جميل क्षत्रिय 한국어"),
                    LineBreaks::asSpaces, QStringLiteral("Tour 🇫🇷🇮🇹🇪🇸 日本の家 بيت جميل क्षत्रिय 한국어")},
        // One cluster of 20,000 men joined by zero-width joiners.
        DisplayCase{"joinerChainCutToTenCodePoints", kJoinedMan.repeated(20000), LineBreaks::asSpaces,
                    kJoinedMan.repeated(5) + kEllipsis},
        DisplayCase{"sixteenPictographsAtMost", QStringLiteral("Drapeaux ") + kFlag.repeated(100), LineBreaks::asSpaces,
                    QStringLiteral("Drapeaux ") + kFlag.repeated(8) + kEllipsis},
        DisplayCase{"cutBeforeTheClusterOverTheBound", QStringLiteral("😀").repeated(15) + QStringLiteral("👨‍👩‍👧‍👦 fin"),
                    LineBreaks::asSpaces, QStringLiteral("😀").repeated(15) + kEllipsis}));

TEST(DisplayText, CutsLongTextsWithAnEllipsisAndNeverSplitsACharacter)
{
    const QString exact(DisplayLength::line, QLatin1Char('x'));
    EXPECT_EQ(displayLine(exact), exact);

    const QString mebi(1 << 20, QLatin1Char('x'));
    EXPECT_EQ(displayText(mebi, DisplayLength::scrolling), mebi.left(DisplayLength::scrolling) + kEllipsis);
    EXPECT_EQ(displayLine(mebi).size(), DisplayLength::line + 1);

    // An emoji (two code units) that would straddle the cut is left out whole.
    const QString emoji = QString(DisplayLength::line - 1, QLatin1Char('x')) + QStringLiteral("😀😀");
    EXPECT_EQ(displayLine(emoji), QString(DisplayLength::line - 1, QLatin1Char('x')) + kEllipsis);

    // Line breaks count as what they become: CR LF is one.
    QString lines;
    for (int i = 0; i < DisplayLength::title; ++i)
        lines += QStringLiteral("\r\n");
    EXPECT_EQ(displayText(lines, DisplayLength::title, LineBreaks::kept), QString(DisplayLength::title, u'\n'));

    EXPECT_EQ(displayLine(QString()), QString());

    // A text that scrolls may show more emoji than a line: one per 512 units.
    EXPECT_EQ(displayText(kFlag.repeated(100), DisplayLength::scrolling), kFlag.repeated(16) + kEllipsis);
}

} // namespace
