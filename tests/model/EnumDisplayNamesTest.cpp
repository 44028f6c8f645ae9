#include "l10n/L10n.h"
#include "model/EnumDisplayNames.h"
#include "tests/support/TemporarySettings.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using Language = L10n::Language;

class EnumDisplayNames : public ::testing::Test
{
protected:
    // Every case with its English and French display text, in declaration order.
    template<typename Enum>
    void expectNames(const std::vector<std::tuple<Enum, const char *, const char *>> &cases)
    {
        for (const auto &[value, english, french] : cases) {
            m_l10n.setCurrent(Language::english);
            EXPECT_EQ(displayName(value, m_l10n), QString::fromUtf8(english));
            m_l10n.setCurrent(Language::french);
            EXPECT_EQ(displayName(value, m_l10n), QString::fromUtf8(french));
        }
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
};

TEST_F(EnumDisplayNames, locationCategoriesShowTheirKeys)
{
    expectNames<LocationCategory>({
        {LocationCategory::residential, "Residential", "Résidentiel"},
        {LocationCategory::office, "Office", "Bureau"},
        {LocationCategory::culture, "Culture & Heritage", "Culture & Patrimoine"},
        {LocationCategory::education, "Education", "Éducation"},
        {LocationCategory::hospitality, "Hospitality", "Hospitalité"},
        {LocationCategory::event, "Events", "Événementiel"},
        {LocationCategory::tourism, "Tourism", "Tourisme"},
        {LocationCategory::health, "Health", "Santé"},
        {LocationCategory::sport, "Sport", "Sport"},
        {LocationCategory::retail, "Retail", "Commerce"},
        {LocationCategory::other, "Other", "Autre"},
    });
}

TEST_F(EnumDisplayNames, transactionAndMandateTypesShowTheirKeys)
{
    expectNames<TransactionType>({
        {TransactionType::sale, "Sale", "Vente"},
        {TransactionType::longTermRental, "Long-term rental", "Location longue durée"},
        {TransactionType::seasonalRental, "Short-term rental", "Location saisonnière"},
    });
    expectNames<MandateType>({
        {MandateType::exclusive, "Exclusive", "Exclusif"},
        {MandateType::simple, "Simple", "Simple"},
        {MandateType::coExclusive, "Co-exclusive", "Co-exclusif"},
    });
}

TEST_F(EnumDisplayNames, otherLanguagesShowEnglish)
{
    m_l10n.setCurrent(Language::italian);
    EXPECT_EQ(displayName(LocationCategory::other, m_l10n), QStringLiteral("Other"));
}
