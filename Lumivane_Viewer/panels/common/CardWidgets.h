#pragma once

#include <QColor>
#include <QFont>

class QAbstractButton;
class QLabel;
class QWidget;

// Small pieces the modal cards are built from.

/// A label in a fixed font and colour, whatever the style's palette says.
QLabel *cardLabel(const QFont &font, const QColor &color, QWidget *parent);

/// A text-only button in the platform's plain style: no frame, dims while
/// pressed, pointing-hand cursor.
QAbstractButton *plainTextButton(const QFont &font, const QColor &color, QWidget *parent);
