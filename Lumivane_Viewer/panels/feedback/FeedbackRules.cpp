#include "FeedbackRules.h"

#include "l10n/L10n.h"
#include "model/LumivaneProject.h"
#include "panels/contact/ContactFormRules.h"
#include "panels/contact/MailDraftUrl.h"

#include <QStringList>

namespace {

std::optional<QString> usableAddress(const std::optional<QString> &stored)
{
    if (!stored)
        return std::nullopt;
    QString address = stored->trimmed();
    if (!isUsableMailRecipient(address))
        return std::nullopt;
    return address;
}

} // namespace

QString ratingText(Rating rating, const L10n &l10n)
{
    return l10n.text(rating == Rating::positive ? L10n::Key::feedbackRatingPositive
                                                : L10n::Key::feedbackRatingNegative);
}

std::optional<QString> feedbackRecipient(const LumivaneProject &project)
{
    if (!project.feedbackEnabled)
        return std::nullopt;
    if (auto address = usableAddress(project.feedbackEmail))
        return address;
    return usableAddress(project.contactFormEmail);
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
