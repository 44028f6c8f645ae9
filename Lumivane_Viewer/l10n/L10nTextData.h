#pragma once

#include "l10n/L10nKey.h"

#include <QtGlobal>

/// The generated text records, read once to build the lookup tables.
namespace L10nTextData {

struct TextRecord
{
    quint16 key;      // index of the L10nKey
    const char *text; // UTF-8
};

extern const char *const keyNames[l10nKeyCount];
extern const TextRecord englishTexts[l10nKeyCount];
extern const TextRecord frenchTexts[l10nKeyCount];

} // namespace L10nTextData
