#pragma once

#include "ModelEnums.h"

#include "l10n/L10n.h"

#include <QString>

// Display texts of the enumerations the visitor sees by name. Each case shows
// the key at its declaration index in a run of consecutive keys, so the case
// order here and the key order of the text table go together. The texts follow
// the language of `l10n` at the time of the call.

/// "Residential" ... "Other", from catResidential onwards.
QString displayName(LocationCategory category, const L10n &l10n = L10n::shared());
/// "Sale", "Long-term rental", "Short-term rental", from transactionSale onwards.
QString displayName(TransactionType type, const L10n &l10n = L10n::shared());
/// "Exclusive", "Simple", "Co-exclusive", from mandateExclusive onwards.
QString displayName(MandateType type, const L10n &l10n = L10n::shared());
