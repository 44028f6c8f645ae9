#pragma once

#include "ArchiveExtractor.h"
#include "LumivaneExtractionFolder.h"
#include "LumivaneOpenError.h"

#include "model/LumivaneProject.h"

#include <QHash>
#include <QUrl>
#include <QUuid>

#include <optional>
#include <variant>

/// One opened package: the decoded project, the folder it was extracted into
/// and the photo of each station id. A plain value that never deletes
/// anything: the folder's one owner comes beside it in the result of open().
/// Knows nothing of views.
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
    /// failed opening leaves no folder behind; a successful one hands over
    /// the folder's owner with the tour.
    static OpenResult open(const QUrl &archiveURL);
    static OpenResult open(const QUrl &archiveURL, const Limits &limits);

    /// The station's narration file in the package's "audio" folder, when an
    /// item of that name exists.
    std::optional<QUrl> audioURL(const QUuid &stationID) const;

    /// What every extraction folder's name begins with.
    static QString extractionFolderPrefix() { return QStringLiteral("lumivane-import-"); }
};

/// The opened tour with the owner of its folder, or why the package could
/// not be opened. Move-only: the folder goes with the result unless
/// takeFolder() handed it on.
class LumivaneImportedTour::OpenResult final
{
public:
    OpenResult(LumivaneImportedTour tour, LumivaneExtractionFolder folder)
        : m_value(Opened{std::move(tour), std::move(folder)})
    {
    }
    OpenResult(LumivaneOpenError error) : m_value(std::move(error)) {} // NOLINT: implicit by design

    explicit operator bool() const { return std::holds_alternative<Opened>(m_value); }
    LumivaneImportedTour &operator*() { return std::get<Opened>(m_value).tour; }
    const LumivaneImportedTour &operator*() const { return std::get<Opened>(m_value).tour; }
    const LumivaneImportedTour *operator->() const { return &std::get<Opened>(m_value).tour; }
    /// Only on success: hands the folder's owner on.
    LumivaneExtractionFolder takeFolder() { return std::move(std::get<Opened>(m_value).folder); }
    /// Only on failure.
    const LumivaneOpenError &error() const { return std::get<LumivaneOpenError>(m_value); }

private:
    struct Opened
    {
        LumivaneImportedTour tour;
        LumivaneExtractionFolder folder;
    };

    std::variant<Opened, LumivaneOpenError> m_value;
};
