#include "EnumDisplayNames.h"

namespace {

template<typename Enum>
QString textInRun(const L10n &l10n, L10n::Key first, Enum value)
{
    return l10n.text(L10n::keyInRun(first, static_cast<int>(value)));
}

} // namespace

QString displayName(LocationCategory category, const L10n &l10n)
{
    return textInRun(l10n, L10n::Key::catResidential, category);
}

QString displayName(TransactionType type, const L10n &l10n)
{
    return textInRun(l10n, L10n::Key::transactionSale, type);
}

QString displayName(MandateType type, const L10n &l10n)
{
    return textInRun(l10n, L10n::Key::mandateExclusive, type);
}
