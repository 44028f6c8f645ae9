#pragma once

#include "SymbolButton.h"

// The round symbol labels every round icon button of the viewer shares: a
// white symbol on a black disc, in the sizes and opacities of each use.

/// Classic photo previous and next: 44 wide, symbol 18, disc black 0.5.
SymbolButtonLook roundIconLabelLarge(const QString &symbol);

/// Control bar buttons: 34 wide, symbol 13, disc black 0.6.
SymbolButtonLook roundIconLabelCompact(const QString &symbol);

/// Header back and forward: 30 wide, symbol 11, white or white 0.3 when the
/// button is disabled, disc black 0.55.
SymbolButtonLook historyButtonLabel(const QString &symbol);

/// Header close button: 32 wide, "xmark" at 13, disc black 0.55.
SymbolButtonLook viewerCloseButtonLabel();

/// Immersive mode's exit button: 30 wide, the collapse arrows at 12 in
/// white 0.85, disc black 0.5.
SymbolButtonLook immersiveExitLabel();
