#include "RoundSymbolLabels.h"

#include "model/Palette.h"

SymbolButtonLook roundIconLabelLarge(const QString &symbol)
{
    return {44, symbol, 18, Qt::white, std::nullopt, withAlpha(Qt::black, 0.5)};
}

SymbolButtonLook roundIconLabelCompact(const QString &symbol)
{
    return {34, symbol, 13, Qt::white, std::nullopt, withAlpha(Qt::black, 0.6)};
}

SymbolButtonLook historyButtonLabel(const QString &symbol)
{
    return {30, symbol, 11, Qt::white, withAlpha(Qt::white, 0.3), withAlpha(Qt::black, 0.55)};
}

SymbolButtonLook viewerCloseButtonLabel()
{
    return {32, QStringLiteral("xmark"), 13, Qt::white, std::nullopt, withAlpha(Qt::black, 0.55)};
}

SymbolButtonLook immersiveExitLabel()
{
    return {30, QStringLiteral("arrow.down.right.and.arrow.up.left"), 12, withAlpha(Qt::white, 0.85), std::nullopt, withAlpha(Qt::black, 0.5)};
}
