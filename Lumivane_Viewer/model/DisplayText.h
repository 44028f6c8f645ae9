#pragma once

#include <QString>
#include <QStringView>

/// The most of a tour text a view shows, in UTF-16 code units. Tour texts
/// have no length limit; views cut them to one of these before they measure
/// or lay them out, so that a text costs what its box can show, never its
/// whole length.
namespace DisplayLength {
/// One line of the widest window in the narrowest glyphs, or a few lines of
/// a column: names, labels, chips, buttons.
constexpr qsizetype line = 1024;
/// A title or a label that wraps over a few lines.
constexpr qsizetype title = 4096;
/// A text that scrolls: a few screens of it.
constexpr qsizetype scrolling = 16384;
} // namespace DisplayLength

/// Whether a text's line breaks start new lines where it is shown.
enum class LineBreaks { asSpaces, kept };

/// A tour text as views draw it. Control characters (C0, DEL, C1, the line
/// and paragraph separators) would draw as boxes: each (CR LF counting as
/// one) becomes a space, or, with LineBreaks::kept, each line break (LF,
/// CR LF, CR, VT, FF, NEL, U+2028, U+2029) one "\n". A letter keeps its
/// first few combining marks and a grapheme cluster its first ten code
/// points, so that no cluster grows past what a glyph can show. Longer than
/// maxLength, the text is cut there and ends with "…"; so it is before the
/// cluster that holds one pictograph more than the text may show (one per
/// 512 units of maxLength, at least 16), as each may cost its layout far more
/// than a letter. Pictographs are all code points but the letters, marks,
/// digits, punctuation and spaces of the scripts, the currency and
/// mathematical signs, Latin-1's symbols and the BMP's format characters:
/// emoji and other symbols, variation selectors, tags, private use and
/// unassigned code points. Reads the text no further than what it returns
/// needs (plus the code points it drops), whatever its length.
QString displayText(QStringView text, qsizetype maxLength, LineBreaks lineBreaks = LineBreaks::asSpaces);

/// displayText of a text shown on one line.
QString displayLine(QStringView text);
