#include "SystemFont.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace {

QString family(FontDesign design)
{
    switch (design) {
    case FontDesign::serif:
        return QStringLiteral("DejaVu Serif");
    case FontDesign::monospaced:
        return QStringLiteral("DejaVu Sans Mono");
    case FontDesign::standard:
        break;
    }
    return QStringLiteral("DejaVu Sans");
}

// Where the family is missing, fontconfig picks by this hint; a generic name
// such as "monospace" in the family list is not resolved as an alias.
QFont::StyleHint styleHint(FontDesign design)
{
    switch (design) {
    case FontDesign::serif:
        return QFont::Serif;
    case FontDesign::monospaced:
        return QFont::Monospace;
    case FontDesign::standard:
        break;
    }
    return QFont::SansSerif;
}

} // namespace

QFont systemFont(double points, QFont::Weight weight, FontDesign design, bool italic)
{
    Q_ASSERT(points > 0);
    QFont font;
    font.setFamily(family(design));
    font.setStyleHint(styleHint(design));
    // Never setPointSize: a point is 1/72 inch there, a third larger than
    // these logical pixels at 96 dpi.
    font.setPixelSize(std::max(1, int(std::lround(points))));
    font.setWeight(weight);
    font.setItalic(italic);
    return font;
}
