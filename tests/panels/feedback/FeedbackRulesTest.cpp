#include "panels/feedback/FeedbackRules.h"
#include "tests/panels/support/PanelTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct RecipientCase
{
    const char *what;
    bool enabled;
    std::optional<QString> feedbackEmail;
    std::optional<QString> contactEmail;
    std::optional<QString> recipient;
};

class Recipient : public ::testing::TestWithParam<RecipientCase>
{
};

TEST_P(Recipient, FallsBackFromFeedbackToContactAddress)
{
    const RecipientCase &c = GetParam();
    LumivaneProject project = panelTestProject();
    project.feedbackEnabled = c.enabled;
    project.feedbackEmail = c.feedbackEmail;
    project.contactFormEmail = c.contactEmail;
    EXPECT_EQ(feedbackRecipient(project), c.recipient) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Recipient,
    ::testing::Values(
        RecipientCase{"disabled", false, "f@x.org", "c@x.org", std::nullopt},
        RecipientCase{"feedback address trimmed", true, " \tf@x.org\n", "c@x.org", "f@x.org"},
        RecipientCase{"blank feedback address", true, "  \n", " c@x.org ", "c@x.org"},
        RecipientCase{"no feedback address", true, std::nullopt, "c@x.org", "c@x.org"},
        RecipientCase{"both blank", true, " ", "\t", std::nullopt},
        RecipientCase{"none at all", true, std::nullopt, std::nullopt, std::nullopt},
        RecipientCase{"unusable feedback address", true, "f@x.org?bcc=e@vil.org", "c@x.org", "c@x.org"},
        RecipientCase{"inner space everywhere", true, "f @x.org", "c@x .org", std::nullopt}));

TEST(FeedbackMail, BodyLinesWithAndWithoutComment)
{
    auto l10n = panelTestL10n(L10n::Language::english);
    EXPECT_EQ(feedbackMailBody(Rating::positive, QString(), *l10n),
              QStringLiteral("Rating: Positive\n\n---\nSent from Lumivane"));
    EXPECT_EQ(feedbackMailBody(Rating::negative, QStringLiteral(" \t "), *l10n),
              QStringLiteral("Rating: Negative\n\n---\nSent from Lumivane"));
    EXPECT_EQ(feedbackMailBody(Rating::negative, QStringLiteral("\n"), *l10n),
              QStringLiteral("Rating: Negative\n\n\n\n\n---\nSent from Lumivane"));
    EXPECT_EQ(feedbackMailBody(Rating::positive, QStringLiteral("  Nice & calm  "), *l10n),
              QStringLiteral("Rating: Positive\n\n  Nice & calm  \n\n---\nSent from Lumivane"));

    l10n->setCurrent(L10n::Language::french);
    EXPECT_EQ(feedbackMailSubject(QStringLiteral("Villa"), *l10n), QStringLiteral("Retour visiteur · Villa"));
    EXPECT_EQ(feedbackMailBody(Rating::positive, QString(), *l10n),
              QStringLiteral("Avis : Positif\n\n---\nEnvoyé depuis Lumivane"));
}

} // namespace
