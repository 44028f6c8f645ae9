#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// Text shaping shared by the chrome's painted widgets. Tour texts have no
// length limit; these keep a pathological one from stalling the GUI thread.

/// Characters beyond which no window can show more of a text: longer texts
/// are cut there (with an ellipsis) before they are measured or laid out.
constexpr int kMaxShownCharacters = 4000;

/// The text on one line (line breaks become spaces), cut to
/// kMaxShownCharacters.
QString oneLineText(const QString &text);

/// The text cut to kMaxShownCharacters, with an ellipsis when cut.
QString boundedText(const QString &text);

/// The text wrapped at width into at most maxLines lines; the last line is
/// elided when text is left over. Empty text gives no line.
QStringList wrappedLines(const QString &text, const QFont &font, double width, int maxLines);
