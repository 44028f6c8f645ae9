#include "model/Hotspot.h"
#include "model/Station.h"

#include <gtest/gtest.h>

namespace {

struct LocalizedCase
{
    const char *name;
    std::optional<Translations> translations;
    std::optional<QString> base;
    const char *languageCode;
    std::optional<QString> expected;
};

void PrintTo(const LocalizedCase &c, std::ostream *os)
{
    *os << c.name;
}

class LocalizedText : public testing::TestWithParam<LocalizedCase>
{
};

// The same rule serves all four operations; each is checked on every case.
TEST_P(LocalizedText, AnswersTrimmedTranslationOrBaseAsStored)
{
    const LocalizedCase &c = GetParam();
    const QString code = QString::fromLatin1(c.languageCode);

    Station station;
    station.nameTranslations = c.translations;
    station.publicCaptionTranslations = c.translations;
    station.name = c.base.value_or(QString());
    station.publicCaption = c.base;
    Hotspot hotspot;
    hotspot.infoTitleTranslations = c.translations;
    hotspot.infoDescriptionTranslations = c.translations;
    hotspot.infoTitle = c.base;
    hotspot.infoDescription = c.base;

    EXPECT_EQ(station.localizedCaption(code), c.expected);
    EXPECT_EQ(hotspot.localizedInfoTitle(code), c.expected);
    EXPECT_EQ(hotspot.localizedInfoDescription(code), c.expected);
    EXPECT_EQ(station.localizedName(code), c.expected.value_or(QString()));
}

const Translations english{{"en", "  Living room \n"}};

INSTANTIATE_TEST_SUITE_P(Cases, LocalizedText, testing::Values(
    LocalizedCase{"trimmedTranslation", english, QString(" Salon "), "en", QString("Living room")},
    LocalizedCase{"otherLanguageGetsBase", english, QString(" Salon "), "fr", QString(" Salon ")},
    LocalizedCase{"codeMatchedExactly", english, QString("Salon"), "EN", QString("Salon")},
    LocalizedCase{"noRegionalFallback", english, QString("Salon"), "en-GB", QString("Salon")},
    LocalizedCase{"blankTranslation", Translations{{"en", " \t\u00a0\n"}}, QString(" Salon"), "en", QString(" Salon")},
    LocalizedCase{"noTranslations", std::nullopt, QString("Salon"), "en", QString("Salon")},
    LocalizedCase{"emptyTranslations", Translations{}, QString(""), "en", QString("")},
    LocalizedCase{"noBaseNoMatch", english, std::nullopt, "de", std::nullopt},
    LocalizedCase{"noBaseWithMatch", english, std::nullopt, "en", QString("Living room")}));

} // namespace
