#include "viewer/state/FeedbackRecipient.h"

namespace {

std::optional<QString> nonEmptyTrimmed(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    const QString trimmed = text->trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

} // namespace

std::optional<QString> feedbackRecipient(const LumivaneProject &project)
{
    if (!project.feedbackEnabled)
        return std::nullopt;
    if (const std::optional<QString> feedback = nonEmptyTrimmed(project.feedbackEmail))
        return feedback;
    return nonEmptyTrimmed(project.contactFormEmail);
}
