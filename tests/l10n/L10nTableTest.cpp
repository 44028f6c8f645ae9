#include "l10n/L10n.h"
#include "l10n/L10nTextData.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <vector>

using Key = L10n::Key;

namespace {

std::vector<int> occurrences(const L10nTextData::TextRecord *records)
{
    std::vector<int> count(L10n::keyCount, 0);
    for (int i = 0; i < L10n::keyCount; ++i) {
        EXPECT_LT(records[i].key, L10n::keyCount);
        if (records[i].key < L10n::keyCount)
            ++count[records[i].key];
    }
    return count;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%[@d]"));
    QStringList found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    return found;
}

} // namespace

TEST(L10nTable, holdsEveryKeyOnceInEachLanguage)
{
    EXPECT_EQ(L10n::keyCount, 1772);
    const std::vector<int> english = occurrences(L10nTextData::englishTexts);
    const std::vector<int> french = occurrences(L10nTextData::frenchTexts);
    for (int i = 0; i < L10n::keyCount; ++i) {
        EXPECT_EQ(english[i], 1) << L10nTextData::keyNames[i];
        EXPECT_EQ(french[i], 1) << L10nTextData::keyNames[i];
    }
}

TEST(L10nTable, everyKeyAnswersInBothLanguagesWithoutTheNameFallback)
{
    QSet<QString> names;
    for (int i = 0; i < L10n::keyCount; ++i) {
        const auto key = static_cast<Key>(i);
        const QString name = L10n::keyName(key);
        names.insert(name);
        EXPECT_EQ(L10n::keyFromName(name), key) << qPrintable(name);
        EXPECT_NE(L10n::textForCode(QStringLiteral("fr"), key), name) << qPrintable(name);
        EXPECT_NE(L10n::textForCode(QStringLiteral("en"), key), name) << qPrintable(name);
    }
    EXPECT_EQ(names.size(), L10n::keyCount);
}

TEST(L10nTable, keyNamesMatchExactly)
{
    EXPECT_EQ(L10n::keyFromName(u"viewerLoading"), Key::viewerLoading);
    EXPECT_EQ(L10n::keyFromName(u"ViewerLoading"), std::nullopt);
    EXPECT_EQ(L10n::keyFromName(u""), std::nullopt);
    EXPECT_EQ(L10n::keyFromName(u"viewerLoading "), std::nullopt);
    // A keyword key keeps its own name although its enumerator is spelled otherwise.
    EXPECT_EQ(L10n::keyName(Key::delete_), QStringLiteral("delete"));
    EXPECT_EQ(L10n::keyFromName(u"delete"), Key::delete_);
    EXPECT_EQ(L10n::keyName(Key::done_), QStringLiteral("done_"));
}

TEST(L10nTable, bothLanguagesCarryTheSamePlaceholdersInTheSameOrder)
{
    for (int i = 0; i < L10n::keyCount; ++i) {
        const auto key = static_cast<Key>(i);
        EXPECT_EQ(placeholders(L10n::textForCode(QStringLiteral("en"), key)),
                  placeholders(L10n::textForCode(QStringLiteral("fr"), key)))
            << L10nTextData::keyNames[i];
    }
}

TEST(L10nTable, frenchTextsUsePlainSpaces)
{
    for (int i = 0; i < L10n::keyCount; ++i) {
        const QString french = L10n::textForCode(QStringLiteral("fr"), static_cast<Key>(i));
        EXPECT_FALSE(french.contains(QChar(0x00A0)) || french.contains(QChar(0x202F))) << L10nTextData::keyNames[i];
    }
}

TEST(L10nTable, enumerationRunsStayConsecutive)
{
    EXPECT_EQ(L10n::keyInRun(Key::catResidential, 10), Key::catOther);
    EXPECT_EQ(L10n::keyInRun(Key::catResidential, 4), Key::catHospitality);
    EXPECT_EQ(L10n::keyInRun(Key::transactionSale, 2), Key::transactionSeasonalRental);
    EXPECT_EQ(L10n::keyInRun(Key::mandateExclusive, 2), Key::mandateCoExclusive);
    EXPECT_EQ(L10n::textForCode(QStringLiteral("fr"), Key::catOther), QStringLiteral("Autre"));
    EXPECT_EQ(L10n::textForCode(QStringLiteral("en"), Key::catOther), QStringLiteral("Other"));
}

TEST(L10nTable, unknownCodesAnswerInEnglish)
{
    EXPECT_EQ(L10n::textForCode(QStringLiteral("de"), Key::tocEmptyNoMatch), QStringLiteral("No station matches \"%@\"."));
    EXPECT_EQ(L10n::textForCode(QStringLiteral("FR"), Key::close), QStringLiteral("Close"));
    EXPECT_EQ(L10n::textForCode(QStringLiteral("fr"), Key::tocEmptyNoMatch),
              QStringLiteral("Aucune station ne correspond à « %@ »."));
}
