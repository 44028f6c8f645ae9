#pragma once

#include <QUrl>

#include <optional>

class QMimeData;

/// The rule for files dropped on the window: only the first dropped item
/// counts, and only when it is a local file whose extension is "lumivane" in
/// any letter case. Knows nothing of loading.
namespace PackageDrop {

/// The package to open for this drop, or none when the drop is to be ignored.
std::optional<QUrl> packageURL(const QMimeData &data);

} // namespace PackageDrop
