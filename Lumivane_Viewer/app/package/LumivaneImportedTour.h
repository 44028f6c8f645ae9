#pragma once

#include "ArchiveExtractor.h"
#include "LumivaneOpenError.h"

#include "model/LumivaneProject.h"

#include <QHash>
#include <QUrl>
#include <QUuid>

#include <optional>
#include <variant>

/// One opened package: the decoded project, the folder it was extracted into
/// and the photo of each station id. A plain value: copies share the folder,
/// and cleanup() through any copy deletes it for all. Knows nothing of views.
class LumivaneImportedTour final
{
public:
    class OpenResult;

    /// Bounds of one opening; the defaults suit any real tour.
    struct Limits
    {
        ArchiveExtractor::Limits extraction;
        qint64 maxProjectJSONBytes = qint64(256) << 20;
    };

    LumivaneProject project;
    QUrl extractionFolder;
    QHash<QUuid, QUrl> photoURLs;

    /// Extracts the package into a new folder of the temporary directory,
    /// decodes project.json and maps the photos, on the caller's thread. A
    /// failed opening leaves no folder behind.
    static OpenResult open(const QUrl &archiveURL);
    static OpenResult open(const QUrl &archiveURL, const Limits &limits);

    /// Deletes the extraction folder with everything in it; failures are ignored.
    void cleanup() const;

    /// The station's narration file in the package's "audio" folder, when an
    /// item of that name exists.
    std::optional<QUrl> audioURL(const QUuid &stationID) const;

    /// What every extraction folder's name begins with.
    static QString extractionFolderPrefix() { return QStringLiteral("lumivane-import-"); }
};

/// The opened tour, or why the package could not be opened.
class LumivaneImportedTour::OpenResult final
{
public:
    OpenResult(LumivaneImportedTour tour) : m_value(std::move(tour)) {}    // NOLINT: implicit by design
    OpenResult(LumivaneOpenError error) : m_value(std::move(error)) {}     // NOLINT: implicit by design

    explicit operator bool() const { return std::holds_alternative<LumivaneImportedTour>(m_value); }
    LumivaneImportedTour &operator*() { return std::get<LumivaneImportedTour>(m_value); }
    const LumivaneImportedTour &operator*() const { return std::get<LumivaneImportedTour>(m_value); }
    const LumivaneImportedTour *operator->() const { return &std::get<LumivaneImportedTour>(m_value); }
    /// Only on failure.
    const LumivaneOpenError &error() const { return std::get<LumivaneOpenError>(m_value); }

private:
    std::variant<LumivaneImportedTour, LumivaneOpenError> m_value;
};
