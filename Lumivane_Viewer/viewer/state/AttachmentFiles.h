#pragma once

#include "viewer/state/ViewerTour.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

/// How the info card reaches what an attachment names: files only inside the
/// tour's attachments folder, sounds only when they are sounds, links only
/// to the web. Reads the file system, changes nothing.
namespace AttachmentFiles {

/// Whether a payload names one file inside a folder: not empty, not "." or
/// "..", and free of path separators and NUL.
bool isPlainFileName(const QString &name);

/// The URL of an attachment's file: the resolver's answer, else the
/// project's storage "attachments" folder plus the payload. None when the
/// payload is not a plain file name or the file it names, links followed,
/// lies outside that folder. A missing file inside it keeps its URL (the
/// lightbox shows the failure).
std::optional<QUrl> fileURL(const QString &payload, const AttachmentURLResolver &resolver, const QUuid &projectID);

/// Whether the local file is a sound, of one of the known formats that hold
/// the sound itself, by its name's extension and by its content alike, and
/// holds all of it (isSelfContainedMedia).
bool isSoundFile(const QUrl &url);

} // namespace AttachmentFiles
