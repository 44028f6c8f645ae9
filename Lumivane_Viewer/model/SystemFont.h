#pragma once

#include <QFont>

/// The typeface family of a system font: the default sans-serif, a serif or
/// a fixed-width design.
enum class FontDesign { standard, serif, monospaced };

/// The system font at a size in points, which are logical pixels: the font's
/// pixel size is `points`. Families are DejaVu Sans, DejaVu Serif and DejaVu
/// Sans Mono, with the generic family of the design standing in where one is
/// not installed. Qt's font database renders whole pixel sizes only, so a
/// fractional size is rounded to the nearest pixel.
QFont systemFont(double points, QFont::Weight weight = QFont::Normal, FontDesign design = FontDesign::standard,
                 bool italic = false);
