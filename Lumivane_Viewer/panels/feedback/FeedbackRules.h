#pragma once

#include <QString>
#include <QUrl>


class L10n;

// The feedback card's rules without widgets: the mail draft it prepares.
// Who receives it is the viewer's rule (feedbackRecipient of the viewer
// state), which the owner applies before building the card.

/// The visitor's verdict on the tour.
enum class Rating { positive, negative };

/// The rating as shown and mailed, in the current language.
QString ratingText(Rating rating, const L10n &l10n);

QString feedbackMailSubject(const QString &projectName, const L10n &l10n);

/// The rating line; the comment as typed after an empty line unless it is
/// only spaces and tabs; an empty line, "---" and the sent-from line.
QString feedbackMailBody(Rating rating, const QString &comment, const L10n &l10n);
