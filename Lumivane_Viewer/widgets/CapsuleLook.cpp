#include "CapsuleLook.h"

#include "model/Palette.h"

#include <QPainter>

void paintCapsule(QPainter &painter, const QRectF &capsule, const CapsuleLook &look)
{
    const double radius = capsule.height() / 2;
    if (look.shadow)
        paintRoundedRectShadow(painter, capsule, radius, *look.shadow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.background);
    painter.drawRoundedRect(capsule, radius, radius);
    if (look.outline && look.outline->width > 0) {
        const double inset = look.outline->width / 2;
        const QRectF edge = capsule.adjusted(inset, inset, -inset, -inset);
        painter.setPen(QPen(look.outline->color, look.outline->width));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(edge, edge.height() / 2, edge.height() / 2);
    }
}

namespace {

QFont demiBold(double points)
{
    return systemFont(points, QFont::DemiBold);
}

// Filled with the accent, and glowing in it below: the calls to act.
CapsuleLook inAccent(CapsuleLook look, const QColor &accent, double glow)
{
    look.background = accent;
    look.shadow = DropShadow{withAlpha(accent, 0.4), glow, QPointF(0, glow / 2)};
    return look;
}

CapsuleLook audioGuide(const QString &symbol, double outlineOpacity)
{
    // The palette's gold, not the tour's accent.
    return {.symbol = symbol, .symbolPoints = 11, .font = demiBold(12), .foreground = colorFromHex(u"#E8DCC4"),
            .spacing = 8, .background = withAlpha(Qt::black, 0.65),
            .outline = CapsuleOutline{withAlpha(paletteGold(), outlineOpacity), 1}};
}

} // namespace

CapsuleLook capsuleLook(Capsule capsule, const QColor &accent)
{
    switch (capsule) {
    case Capsule::coverStart:
        return inAccent({.symbol = QStringLiteral("play.fill"), .symbolPoints = 13, .font = demiBold(15), .spacing = 10,
                         .horizontalPadding = 28, .verticalPadding = 14, .disabledOpacity = 0.4},
                        accent, 12);
    case Capsule::coverContact:
        return {.symbol = QStringLiteral("envelope.fill"), .font = demiBold(14), .spacing = 8, .horizontalPadding = 20,
                .verticalPadding = 12, .background = withAlpha(Qt::white, 0.15),
                .outline = CapsuleOutline{withAlpha(Qt::white, 0.25), 1}};
    case Capsule::kioskStop:
        return inAccent({.symbol = QStringLiteral("pause.fill"), .horizontalPadding = 14, .verticalPadding = 9}, accent, 8);
    case Capsule::headerInfo:
        return {.symbol = QStringLiteral("info.circle.fill"), .background = withAlpha(Qt::black, 0.55)};
    case Capsule::stationName:
        return {.font = demiBold(14), .spacing = 8, .horizontalPadding = 14, .background = withAlpha(Qt::black, 0.55)};
    case Capsule::branding:
        return {.imageHeight = 22, .font = demiBold(12), .foreground = withAlpha(Qt::white, 0.9), .spacing = 8,
                .horizontalPadding = 10, .verticalPadding = 6, .background = withAlpha(Qt::black, 0.5)};
    case Capsule::audioGuide:
        return audioGuide(QStringLiteral("play.fill"), 0.35);
    case Capsule::audioGuidePlaying:
        return audioGuide(QStringLiteral("pause.fill"), 1);
    case Capsule::unlock:
        return {.font = demiBold(14), .horizontalPadding = 28, .verticalPadding = 12, .background = paletteGold(),
                .disabledOpacity = 0.4};
    case Capsule::feedbackSend:
        return {.font = paletteButtonFont(), .horizontalPadding = 20, .background = paletteGold()};
    }
    Q_UNREACHABLE();
}
