#include "RoundSymbolLabels.h"

namespace {

QColor whiteAt(double opacity)
{
    return QColor::fromRgbF(1, 1, 1, float(opacity));
}

QColor blackAt(double opacity)
{
    return QColor::fromRgbF(0, 0, 0, float(opacity));
}

} // namespace

SymbolButtonLook roundIconLabelLarge(const QString &symbol)
{
    return {44, symbol, 18, Qt::white, std::nullopt, blackAt(0.5)};
}

SymbolButtonLook roundIconLabelCompact(const QString &symbol)
{
    return {34, symbol, 13, Qt::white, std::nullopt, blackAt(0.6)};
}

SymbolButtonLook historyButtonLabel(const QString &symbol)
{
    return {30, symbol, 11, Qt::white, whiteAt(0.3), blackAt(0.55)};
}

SymbolButtonLook viewerCloseButtonLabel()
{
    return {32, QStringLiteral("xmark"), 13, Qt::white, std::nullopt, blackAt(0.55)};
}

SymbolButtonLook immersiveExitLabel()
{
    return {30, QStringLiteral("arrow.down.right.and.arrow.up.left"), 12, whiteAt(0.85), std::nullopt, blackAt(0.5)};
}
