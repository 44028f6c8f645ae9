#include "FeedbackRules.h"

#include "l10n/L10n.h"
#include "panels/contact/ContactFormRules.h"

#include <QStringList>

QString ratingText(Rating rating, const L10n &l10n)
{
    return l10n.text(rating == Rating::positive ? L10n::Key::feedbackRatingPositive
                                                : L10n::Key::feedbackRatingNegative);
}

QString feedbackMailSubject(const QString &projectName, const L10n &l10n)
{
    return l10n.localizedFormat(L10n::Key::feedbackMailSubject, projectName);
}

QString feedbackMailBody(Rating rating, const QString &comment, const L10n &l10n)
{
    QStringList lines{l10n.localizedFormat(L10n::Key::feedbackMailBodyRating, ratingText(rating, l10n))};
    if (!trimmedSpacesAndTabs(comment).isEmpty())
        lines << QString() << comment;
    lines << QString() << QStringLiteral("---") << l10n.text(L10n::Key::feedbackMailSentFrom);
    return lines.join(u'\n');
}
