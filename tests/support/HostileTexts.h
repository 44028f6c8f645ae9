#pragma once

#include "model/DisplayText.h"

#include <QList>
#include <QString>
#include <QStringView>

// Tour texts as an attacker writes them: longer than any view shows, full of
// control characters, without a space to break at, or one letter under
// thousands of combining marks. Long enough to tell a view that lays out
// what it shows from one that lays out everything, short enough that the
// latter still fails in seconds rather than minutes.
namespace HostileTexts {

/// Four times the longest a view shows.
constexpr qsizetype length = 4 * DisplayLength::scrolling;

/// The characters a view must not draw as they are: C0 (line breaks
/// included), DEL, C1, the line and paragraph separators.
inline QString controlCharacters()
{
    QString controls;
    for (char16_t code = 0; code < 0x20; ++code)
        controls += QChar(code);
    for (char16_t code = 0x7F; code <= 0x9F; ++code)
        controls += QChar(code);
    return controls + QChar(0x2028) + QChar(0x2029);
}

/// Words and every control character, repeated to `length`.
inline QString withControls()
{
    const QString unit = QStringLiteral("Salle ") + controlCharacters() + QStringLiteral(" à manger ");
    QString text;
    while (text.size() < length)
        text += unit;
    return text.left(length);
}

inline QString withoutSpaces()
{
    return QString(length, QLatin1Char('W'));
}

/// One letter under 20,000 combining acute accents.
inline QString combiningMarks()
{
    return QStringLiteral("a") + QString(20000, QChar(0x0301));
}

struct Text
{
    const char *name;
    QString text;
};

inline QList<Text> all()
{
    return {{"withControls", withControls()}, {"withoutSpaces", withoutSpaces()}, {"combiningMarks", combiningMarks()}};
}

/// Whether text holds a character that would draw as a box; "\n" counts
/// only where line breaks are not kept.
inline bool hasControlCharacter(QStringView text, LineBreaks lineBreaks)
{
    static const QString controls = controlCharacters();
    for (const QChar c : text) {
        if (c == u'\n' && lineBreaks == LineBreaks::kept)
            continue;
        if (controls.contains(c))
            return true;
    }
    return false;
}

} // namespace HostileTexts
