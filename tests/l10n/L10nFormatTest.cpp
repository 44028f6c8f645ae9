#include "l10n/L10n.h"
#include "tests/support/TemporarySettings.h"

#include <gtest/gtest.h>

using Language = L10n::Language;
using Key = L10n::Key;

class L10nFormat : public ::testing::Test
{
protected:
    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
};

TEST_F(L10nFormat, fieldFormatFollowsTheLanguage)
{
    m_l10n.setCurrent(Language::english);
    EXPECT_EQ(m_l10n.localizedFormat(Key::contactMailFieldFormat, QStringLiteral("Name"), QStringLiteral("Ada")),
              QStringLiteral("Name: Ada"));
    m_l10n.setCurrent(Language::french);
    EXPECT_EQ(m_l10n.localizedFormat(Key::contactMailFieldFormat, QStringLiteral("Name"), QStringLiteral("Ada")),
              QStringLiteral("Name : Ada"));
}

TEST_F(L10nFormat, argumentsAreNeverScannedForPlaceholders)
{
    m_l10n.setCurrent(Language::english);
    EXPECT_EQ(m_l10n.localizedFormat(Key::contactMailFieldFormat, QStringLiteral("%@ %d"), QStringLiteral("%1 %@")),
              QStringLiteral("%@ %d: %1 %@"));
    m_l10n.setCurrent(Language::french);
    EXPECT_EQ(m_l10n.localizedFormat(Key::tocEmptyNoMatch, QStringLiteral("50%@")),
              QStringLiteral("Aucune station ne correspond à « 50%@ »."));
}

TEST_F(L10nFormat, integersFillDecimalPlaceholders)
{
    m_l10n.setCurrent(Language::german);
    EXPECT_EQ(m_l10n.localizedFormat(Key::tocFoundPlural, 3, 12), QStringLiteral("3 stations found out of 12"));
    EXPECT_EQ(m_l10n.localizedFormat(Key::contactServerCode, QList<QVariant>{qlonglong(503)}),
              QStringLiteral("Server: code 503"));
}

TEST(L10nFill, placeholdersWithoutArgumentsStayAsWritten)
{
    EXPECT_EQ(L10n::fillPlaceholders(QStringLiteral("%@ and %@"), {QStringLiteral("one")}), QStringLiteral("one and %@"));
    EXPECT_EQ(L10n::fillPlaceholders(QStringLiteral("100%% %s %"), {QStringLiteral("x")}), QStringLiteral("100% %s %"));
    EXPECT_EQ(L10n::fillPlaceholders(QStringLiteral("Extraction failed: %@"), {QStringLiteral("disk full")}),
              QStringLiteral("Extraction failed: disk full"));
}
