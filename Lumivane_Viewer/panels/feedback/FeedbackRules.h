#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class L10n;
struct LumivaneProject;

// The feedback card's rules without widgets: who receives it and the mail
// draft it prepares.

/// The visitor's verdict on the tour.
enum class Rating { positive, negative };

/// The rating as shown and mailed, in the current language.
QString ratingText(Rating rating, const L10n &l10n);

/// Where feedback goes, or none (then the viewer offers no feedback button):
/// nothing unless feedbackEnabled; else feedbackEmail, trimmed of white
/// space and line breaks, else contactFormEmail trimmed the same way. An
/// address that cannot make a mail draft counts as empty.
std::optional<QString> feedbackRecipient(const LumivaneProject &project);

QString feedbackMailSubject(const QString &projectName, const L10n &l10n);

/// The rating line; the comment as typed after an empty line unless it is
/// only spaces and tabs; an empty line, "---" and the sent-from line.
QString feedbackMailBody(Rating rating, const QString &comment, const L10n &l10n);
