#pragma once

#include <QStringView>

/// The text without tabs and space separators (general category Zs, the
/// no-break space among them) at either end; line breaks stay.
QStringView trimmedHorizontalWhitespace(QStringView text);
