#pragma once

#include "model/Palette.h"
#include "widgets/SymbolButton.h"

#include <QColor>
#include <QFont>
#include <QString>

class QHBoxLayout;
class QLabel;
class QScrollBar;
class QVBoxLayout;
class QWidget;

/// A font with letter tracking in logical pixels.
QFont tracked(QFont font, double tracking);

/// A label drawn in its own font and colour whatever the style, on the
/// parent's background.
QLabel *makeLabel(const QFont &font, const QColor &color, QWidget *parent, const QString &text = QString());

/// makeLabel for a text shown in capitals: the text upper-cased, with room
/// above it for the accents of capitals (É, À), which at small sizes rise
/// above the font's ascent and would be cut off by the label's edge.
QLabel *makeCapitalsLabel(const QFont &font, const QColor &color, QWidget *parent, const QString &text);

/// A symbol button's look for a close button of the sheets: "xmark" at 12
/// in white 0.7 with a margin of 10, on a disc of white 0.1.
SymbolButtonLook sheetCloseButtonLook();

/// The sheets' title row: an italic serif title over a small grey line,
/// and the round close button, which the sheet connects.
struct SheetTitleRow
{
    QHBoxLayout *layout;
    QLabel *title;
    QLabel *subtitle;
    SymbolButton *closeButton;
};
SheetTitleRow makeSheetTitleRow(QWidget *parent, double titlePoints);

/// Puts a sheet's header at the top of its panel's column, with a hairline
/// under it; the sheet's content follows.
void addSheetHeader(QVBoxLayout &column, QWidget *header);

/// A thin light scroll bar that suits the dark sheets.
void styleScrollBar(QScrollBar *bar);
