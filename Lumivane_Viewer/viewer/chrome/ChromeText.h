#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// Text shaping shared by the chrome's painted widgets.

/// The text, already made for display on one line (displayLine), wrapped at
/// width into at most maxLines lines; the last line is elided when text is
/// left over. Empty text gives no line.
QStringList wrappedLines(const QString &text, const QFont &font, double width, int maxLines);
