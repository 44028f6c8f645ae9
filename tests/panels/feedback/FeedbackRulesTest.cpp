#include "panels/feedback/FeedbackRules.h"
#include "tests/panels/support/PanelTestSupport.h"

#include <gtest/gtest.h>

namespace {

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
