#pragma once

#include "LumivaneInfoGroup.h"

#include "l10n/L10n.h"
#include "model/LumivaneProject.h"

#include <QList>
#include <QLocale>

/// The facts of a project as the information panel lists them: up to ten
/// groups in a fixed order, each present only when it has a row, with texts in
/// the language of `l10n` and integers grouped as `locale` groups them.
/// Builds fresh ids on every call; empty when the project sets no fact.
QList<LumivaneInfoGroup> buildInfoGroups(const LumivaneProject &project, const L10n &l10n,
                                         const QLocale &locale = QLocale());
