#pragma once

#include "model/Station.h"
#include "viewer/state/ViewerTour.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

/// Where the narration of one station is looked for: the tour's resolver
/// when it has one, else the project's storage folder (its "audio" folder,
/// a subfolder per language, files named after the station id).
struct StationNarration
{
    StationURLResolver audioURLResolver; // may be empty
    QUuid projectID;
    QString languageCode;

    /// Whether the station offers narration (the audio-guide button): the
    /// resolver's answer alone when there is one; else an existing language
    /// file when the station names one for this language, else an existing
    /// base file when the station names one.
    bool isAvailable(const Station &station) const;

    /// The file to play: the resolver's answer; else the language file when
    /// it exists; else the base file, present or not, when the station names
    /// one; none otherwise.
    std::optional<QUrl> fileToPlay(const Station &station) const;

private:
    std::optional<QString> existingLanguageFile(const Station &station) const;
    QString baseFile(const Station &station) const;
};
