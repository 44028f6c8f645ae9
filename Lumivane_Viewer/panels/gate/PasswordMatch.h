#pragma once

#include <QString>

/// Whether the visitor's entry is the tour's password: equal once both texts
/// are in Unicode NFC, so canonically equivalent spellings match; no trimming
/// and no case folding. The expected text travels inside the package, so this
/// only keeps casual visitors out.
bool passwordMatches(const QString &entered, const QString &expected);
