#pragma once

#include <QStringView>

/// How many user-perceived characters (grapheme clusters) a text holds: a
/// letter with its combining marks, or a flag's two regional indicators,
/// counts once.
qsizetype graphemeCount(QStringView text);
