#pragma once

#include <QColor>
#include <QFont>
#include <QStringView>

/// Colour from hexadecimal text such as "#C9A961" (RRGGBB) or "80C9A961"
/// (AARRGGBB). Characters that are not letters, marks or digits are trimmed
/// from both ends; any other length gives opaque black. Never fails.
QColor colorFromHex(QStringView hex);

/// The colour at an opacity, as the designs give them ("white 0.6").
QColor withAlpha(QColor color, double alpha);

// Fixed palette colours, made once on first use and shared by all threads.
const QColor &paletteGold();  // "#C9A961", the accent of the whole viewer
const QColor &paletteBrown(); // "#A0632D", info and visited hotspots, floor-plan markers
const QColor &paletteGreen(); // "#2E7D6B"
const QColor &paletteRed();   // "#B54B3A"

/// Whether the colours of the dark or the light look apply.
enum class Appearance { light, dark };

/// The appearance of the running application, judged by the lightness of its
/// window colour: Qt offers no colour-scheme query on this platform.
Appearance currentAppearance();

/// A colour that holds one hex text for a dark appearance and one for any
/// other, and resolves it each time it is asked.
struct AppearanceColor
{
    QStringView darkHex;
    QStringView lightHex;

    QColor resolved(Appearance appearance) const;
    QColor resolved() const { return resolved(currentAppearance()); }
};

// The palette's colours of the two appearances: dark, then light.
inline constexpr AppearanceColor paletteInputBackground{u"#0F1729", u"#F5F1EA"};
inline constexpr AppearanceColor paletteCardBackground{u"#1B2A4E", u"#FFFFFF"};
inline constexpr AppearanceColor paletteTextPrimary{u"#E8DCC4", u"#1B2A4E"};
inline constexpr AppearanceColor paletteTextSecondary{u"#A8A296", u"#5A6478"};
inline constexpr AppearanceColor paletteTextTertiary{u"#7A756C", u"#8B92A0"};
inline constexpr AppearanceColor paletteBorder{u"#2A3A5E", u"#D8CFBF"};

// The system font at fixed sizes, made once on first use.
const QFont &paletteBodyFont();    // 14 regular
const QFont &paletteButtonFont();  // 13 medium
const QFont &paletteCaptionFont(); // 12 medium
