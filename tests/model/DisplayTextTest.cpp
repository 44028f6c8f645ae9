#include "model/DisplayText.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

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
        // A family, a kiss of two skin tones (ten code points) and a keycap
        // stay whole; so do flags in a name, and scripts. Skin tones,
        // variation selectors, the keycap and tags count as pictographs: a
        // subdivision's flag (seven) is one too many on a line after these
        // (thirteen), and is left out whole.
        DisplayCase{"ordinaryEmoji", QStringLiteral("👨‍👩‍👧‍👦 👩🏻‍❤️‍💋‍👨🏼 1️⃣ 🏴󠁧󠁢󠁳󠁣󠁴󠁿"), LineBreaks::asSpaces,
                    QStringLiteral("👨‍👩‍👧‍👦 👩🏻‍❤️‍💋‍👨🏼 1️⃣ ") + kEllipsis},
        DisplayCase{"ordinaryFlagsAndScripts", QStringLiteral("Tour 🇫🇷🇮🇹🇪🇸 日本の家 بيت جميل क्षत्रिय 한국어"),
                    LineBreaks::asSpaces, QStringLiteral("Tour 🇫🇷🇮🇹🇪🇸 日本の家 بيت جميل क्षत्रिय 한국어")},
        // One cluster of 20,000 men joined by zero-width joiners.
        DisplayCase{"joinerChainCutToTenCodePoints", kJoinedMan.repeated(20000), LineBreaks::asSpaces,
                    kJoinedMan.repeated(5) + kEllipsis},
        DisplayCase{"sixteenPictographsAtMost", QStringLiteral("Drapeaux ") + kFlag.repeated(100), LineBreaks::asSpaces,
                    QStringLiteral("Drapeaux ") + kFlag.repeated(8) + kEllipsis},
        DisplayCase{"cutBeforeTheClusterOverTheBound", QStringLiteral("😀").repeated(15) + QStringLiteral("👨‍👩‍👧‍👦 fin"),
                    LineBreaks::asSpaces, QStringLiteral("😀").repeated(15) + kEllipsis}));

// A line of seventeen of a code point, each after a letter, is cut before
// the last only if the code point counts as a pictograph.
bool countsAsPictograph(char32_t code)
{
    QString unit(QLatin1Char('x'));
    if (QChar::requiresSurrogates(code))
        unit += QString::fromUcs4(&code, 1);
    else
        unit += QChar(char16_t(code)); // lone surrogates too
    const QString text = unit.repeated(17);
    const QString shown = displayLine(text);
    return shown.endsWith(kEllipsis) && shown != text;
}

bool isVariationSelector(char32_t code)
{
    return (code >= 0xFE00 && code <= 0xFE0F) || (code >= 0xE0100 && code <= 0xE01EF);
}

// ‼ ⁉ ℹ 〰 〽
bool isEmojiLetterOrPunctuation(char32_t code)
{
    return code == 0x203C || code == 0x2049 || code == 0x2139 || code == 0x3030 || code == 0x303D;
}

using CodePoints = std::function<bool(char32_t)>;

CodePoints within(char32_t first, char32_t last)
{
    return [=](char32_t code) { return code >= first && code <= last; };
}

// The code points of the categories between first and last, but for the
// variation selectors and the emoji letters and punctuation: classes of
// their own.
CodePoints ofCategories(std::vector<QChar::Category> categories, char32_t first = 0, char32_t last = 0x10FFFF)
{
    return [=](char32_t code) {
        return code >= first && code <= last && !isVariationSelector(code) && !isEmojiLetterOrPunctuation(code)
            && std::find(categories.begin(), categories.end(), QChar::category(code)) != categories.end();
    };
}

struct CodePointClass
{
    const char *name;
    CodePoints holds;
    bool counts;
};

void PrintTo(const CodePointClass &c, std::ostream *os)
{
    *os << c.name;
}

std::vector<CodePointClass> codePointClasses()
{
    using enum QChar::Category;
    return {
        {"privateUseOfTheBmp", within(0xE000, 0xF8FF), true},
        {"privateUsePlane15", within(0xF0000, 0xFFFFD), true},
        {"privateUsePlane16", within(0x100000, 0x10FFFD), true},
        {"tags", within(0xE0000, 0xE007F), true},
        {"variationSelectors", isVariationSelector, true},
        {"emojiLettersAndPunctuation", isEmojiLetterOrPunctuation, true},
        {"unassigned", ofCategories({Other_NotAssigned}), true},
        {"loneSurrogates", ofCategories({Other_Surrogate}), true},
        {"enclosingMarks", ofCategories({Mark_Enclosing}), true},
        {"symbolsPastLatin1", ofCategories({Symbol_Other, Symbol_Modifier}, 0x100), true},
        {"formatPastTheBmp", ofCategories({Other_Format}, 0x10000), true},
        {"letters", ofCategories({Letter_Uppercase, Letter_Lowercase, Letter_Titlecase, Letter_Modifier, Letter_Other}),
         false},
        {"marks", ofCategories({Mark_NonSpacing, Mark_SpacingCombining}), false},
        {"numbers", ofCategories({Number_DecimalDigit, Number_Letter, Number_Other}), false},
        {"punctuation",
         ofCategories({Punctuation_Connector, Punctuation_Dash, Punctuation_Open, Punctuation_Close,
                       Punctuation_InitialQuote, Punctuation_FinalQuote, Punctuation_Other}),
         false},
        {"spacesAndControls", ofCategories({Separator_Space, Separator_Line, Separator_Paragraph, Other_Control}), false},
        {"currencyAndMathematicalSigns", ofCategories({Symbol_Currency, Symbol_Math}), false},
        {"symbolsOfLatin1", ofCategories({Symbol_Other, Symbol_Modifier}, 0, 0xFF), false},
        {"formatOfTheBmp", ofCategories({Other_Format}, 0, 0xFFFF), false},
    };
}

class PictographClass : public testing::TestWithParam<CodePointClass>
{
};

TEST_P(PictographClass, EveryCodePointOfTheClassCountsOrNot)
{
    const CodePointClass &c = GetParam();
    int walked = 0;
    QStringList wrong;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (!c.holds(code))
            continue;
        ++walked;
        if (countsAsPictograph(code) != c.counts && wrong.size() < 8)
            wrong << QString::number(code, 16);
    }
    EXPECT_GT(walked, 0);
    EXPECT_TRUE(wrong.isEmpty()) << qPrintable(wrong.join(u' '));
}

INSTANTIATE_TEST_SUITE_P(CodePoints, PictographClass, testing::ValuesIn(codePointClasses()));

// Texts as authors write them, in many scripts with the signs, joiners and
// marks they hold, repeated to fill a line and a scrolling text: never cut.
class OrdinaryScript : public testing::TestWithParam<const char16_t *>
{
};

TEST_P(OrdinaryScript, IsNeverCutShortOfItsLength)
{
    const QString sample = QString::fromUtf16(GetParam());
    for (const qsizetype maxLength : {DisplayLength::line, DisplayLength::scrolling}) {
        const QString text = sample.repeated(maxLength / sample.size());
        EXPECT_EQ(displayText(text, maxLength, LineBreaks::kept), text) << maxLength;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OrdinaryScript,
    testing::Values(u"Séjour 24 m², 890 000 € (+33 4 78 00 00 00) ; n° 12, 3 × 4 m, 20 °C, ½ ≈ 50 %.\n",
                    u"© Agence & Fils — « cuisine » <neuf> = ~ ^ | ` $ £ ¥ ® * # @ [1] {2} \\ / _\n",
                    u"Wohn\u00ADzimmer mit Kamin und Stra\u00DFe, \u201Eschön\u201C. ",
                    u"\u0645\u06CC\u200C\u062E\u0648\u0627\u0647\u0645 \u062E\u0627\u0646\u0647\u200C\u0647\u0627 ",
                    u"\u0627\u0644\u063A\u0631\u0641\u0629 \u0661\u0662\u061C \u200F\u2067\u05D1\u05B7\u05BC\u05D9\u05B4\u05EA\u2069\u200E ",
                    u"\u0915\u094D\u200D\u0937\u0924\u094D\u0930\u093F\u092F \u0918\u0930\u0964 \u0DC1\u0DCA\u200D\u0DBB\u0DD3 ",
                    u"\u0E2B\u0E49\u0E2D\u0E07\u0E19\u0E31\u0E48\u0E07\u0E40\u0E25\u0E48\u0E19 ",
                    u"\u30EA\u30D3\u30F3\u30B0\u3001\u30B3\u30FC\u30D2\u30FC\u3002\u300C\u6771\u4EAC\u300D\u301C\u5BA2\u5385\uFF0C\uAC70\uC2E4 ",
                    u"\u0413\u043E\u0441\u0442\u0438\u043D\u0430\u044F, \u03C3\u03B1\u03BB\u03CC\u03BD\u03B9, \u10E1\u10D0\u10EE\u10DA\u10D8, \u1264\u1275 ",
                    u"\u182E\u1823\u180B\u1829\u182D\u1823\u182F \u0BB5\u0BC0\u0B9F\u0BC1 Vie\u0323\u0302t Nam "));

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
