#include "l10n/L10n.h"
#include "tests/support/TemporarySettings.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <thread>

using Language = L10n::Language;
using Key = L10n::Key;

TEST(L10nLanguage, casesCarryCodesNativeNamesAndFlags)
{
    const QList<Language> all = L10n::allLanguages();
    ASSERT_EQ(all.size(), 5);
    QStringList codes;
    for (Language language : all) {
        codes.append(L10n::code(language));
        EXPECT_EQ(L10n::languageFromCode(L10n::code(language)), language);
    }
    EXPECT_EQ(codes, (QStringList{"fr", "en", "es", "it", "de"}));
    EXPECT_EQ(L10n::nativeName(Language::spanish), QStringLiteral("Español"));
    EXPECT_EQ(L10n::flag(Language::french), QStringLiteral("🇫🇷"));
    EXPECT_EQ(L10n::languageFromCode(QStringLiteral("FR")), std::nullopt);
    EXPECT_EQ(L10n::languageFromCode(QStringLiteral("fra")), std::nullopt);
    EXPECT_EQ(L10n::languageFromCode(QString()), std::nullopt);
}

struct StartupCase
{
    const char *name;
    QVariant stored; // invalid: nothing stored
    QStringList preferred;
    Language expected;
};

class L10nStartup : public ::testing::TestWithParam<StartupCase>
{
};

TEST_P(L10nStartup, picksTheStoredOrPreferredLanguage)
{
    TemporarySettings settings;
    const StartupCase &startup = GetParam();
    if (startup.stored.isValid())
        settings.store(startup.stored);

    const L10n l10n(startup.preferred);

    EXPECT_EQ(l10n.current(), startup.expected);
    // Starting up neither stores nor changes the setting.
    EXPECT_EQ(settings.stored(), startup.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, L10nStartup,
    ::testing::Values(
        StartupCase{"nothingStoredFrenchCanadaFirst", {}, {"fr-CA", "en-US"}, Language::french},
        StartupCase{"nothingStoredGermanFirst", {}, {"de-DE", "fr-FR"}, Language::english},
        StartupCase{"nothingStoredNoPreference", {}, {}, Language::english},
        StartupCase{"nothingStoredSpanishFirst", {}, {"es-ES"}, Language::english},
        StartupCase{"nothingStoredOneLetter", {}, {"f"}, Language::english},
        StartupCase{"storedSpanish", QStringLiteral("es"), {"fr-FR"}, Language::spanish},
        StartupCase{"storedGerman", QStringLiteral("de"), {"fr-FR"}, Language::german},
        StartupCase{"storedFrench", QStringLiteral("fr"), {"en-US"}, Language::french},
        StartupCase{"storedUpperCaseFallsBackToFrenchPreference", QStringLiteral("FR"), {"fr-FR"}, Language::french},
        StartupCase{"storedThreeLettersFallsBackToEnglish", QStringLiteral("fra"), {"en-GB"}, Language::english},
        StartupCase{"storedListIsNoText", QStringList{"es"}, {"fr"}, Language::french}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(L10nLanguage, everyAssignmentStoresAndAnnounces)
{
    TemporarySettings settings;
    L10n l10n(QStringList{"fr-FR"});
    QSignalSpy changes(&l10n, &L10n::currentChanged);

    l10n.setCurrent(Language::spanish);
    EXPECT_EQ(settings.stored(), QVariant(QStringLiteral("es")));
    EXPECT_EQ(l10n.languageCode(), QStringLiteral("es"));
    EXPECT_EQ(l10n.text(Key::close), QStringLiteral("Close"));

    settings.store(QStringLiteral("xx"));
    l10n.setCurrent(Language::spanish);
    EXPECT_EQ(settings.stored(), QVariant(QStringLiteral("es")));

    l10n.setCurrent(Language::french);
    EXPECT_EQ(l10n.text(Key::close), QStringLiteral("Fermer"));
    ASSERT_EQ(changes.size(), 3);
    EXPECT_EQ(changes.at(2).at(0).value<Language>(), Language::french);
}

TEST(L10nLanguage, storedLanguageTextFollowsTheStoredCode)
{
    TemporarySettings settings;
    const QString english = QStringLiteral("Invalid .lumivane file.");
    EXPECT_EQ(L10n::storedLanguageText(Key::errImportInvalid), english);

    settings.store(QStringLiteral("de"));
    EXPECT_EQ(L10n::storedLanguageText(Key::errImportInvalid), english);
    const L10n german(QStringList{});
    EXPECT_EQ(german.text(Key::errImportInvalid), english);

    settings.store(QStringLiteral("fr"));
    EXPECT_EQ(L10n::storedLanguageText(Key::errImportInvalid), QStringLiteral("Fichier .lumivane invalide."));

    settings.store(QStringLiteral("FR"));
    EXPECT_EQ(L10n::storedLanguageText(Key::errImportInvalid), english);
}

TEST(L10nLanguage, storedLanguageTextWorksOffTheMainThread)
{
    TemporarySettings settings;
    settings.store(QStringLiteral("fr"));
    QString answer;
    std::thread worker([&answer] { answer = L10n::storedLanguageText(Key::errImportProjectJSONMissing); });
    worker.join();
    EXPECT_EQ(answer, QStringLiteral("project.json manquant dans le fichier."));
}
