#pragma once

#include <QString>
#include <QUuid>

#include <optional>

/// How file names inside a package and in the storage folders relate to ids.
namespace PackageNames {

/// The canonical 36-character form in either letter case; nothing else
/// (no braces, no surrounding text).
std::optional<QUuid> uuidFromCanonicalText(const QString &text);

/// The upper-case canonical form that file and folder names use.
QString upperCaseID(const QUuid &id);

/// A file name without its extension (everything from the last ".").
QString withoutExtension(const QString &fileName);

} // namespace PackageNames
