#pragma once

#include <QUrl>
#include <QUuid>

#include <optional>

/// The fixed place on disk of each project's attachments and narration,
/// consulted only when the viewer is given no resolver. Holds no state: each
/// call asks the settings and the file system afresh, and reports no failure.
namespace LumivaneStorageFolders {

/// The settings key of the (read-only) choice of the cloud projects root.
inline constexpr const char *useICloudSettingsKey = "lumivaneUseiCloud";

/// This platform offers no cloud container: always none.
std::optional<QUrl> iCloudContainerURL();
bool isICloudEnabled();
/// The container's "Documents/Projets", created when missing; none without a container.
std::optional<QUrl> iCloudProjectsFolderURL();
/// Documents + "Lumivane/Projets", created when missing.
QUrl localProjectsFolderURL();
/// The projects root + the id in upper case; creates the root, not this folder.
QUrl projectFolder(const QUuid &projectID);
/// projectFolder + "attachments", created when missing.
QUrl attachmentsFolder(const QUuid &projectID);
/// projectFolder + "audio", created when missing: where narration lies.
QUrl audioFolder(const QUuid &projectID);

} // namespace LumivaneStorageFolders
