#pragma once

#include <QString>
#include <QUrl>

/// What the desktop hands the viewer to open: a path or a URL on the command
/// line, made absolute so that another process can use it.
namespace OpenRequest {

/// A file URL for a path (relative paths against `workingFolder`); a text
/// that starts with a URL scheme and names no existing file is taken as that
/// URL, unchecked.
QUrl urlFromArgument(const QString &argument, const QString &workingFolder);

} // namespace OpenRequest
