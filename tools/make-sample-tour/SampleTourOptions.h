#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

/// Which sample tour to write: the full demo, the demo behind a password, or a
/// classic (photo slideshow) tour.
enum class SampleTourVariant { Demo, Password, Classic };

/// What writeSampleTour() makes.
struct SampleTourOptions
{
    SampleTourVariant variant = SampleTourVariant::Demo;
    /// 0: the hand-made demo house; otherwise a generated chain of this many rooms.
    int stationCount = 0;
    /// Photo width in pixels; photos are width x width/2.
    int photoWidth = 4096;
    /// 0: none; otherwise the start station's photo is this wide (height half),
    /// an enlargement of the photo rendered for it: a photo of huge pixel
    /// dimensions in a package that stays small.
    int enlargedStartPhotoWidth = 0;
    /// Not empty: these bytes as they are in place of the sample's own
    /// picture, as a hostile package may carry them: the cover logo, every
    /// level's floor plan, the start station's photo, every other photo.
    QByteArray logoBytes;
    QByteArray floorPlanBytes;
    QByteArray startPhotoBytes;
    QByteArray photoBytes;
    int jpegQuality = 85;
    /// Every member stored without compression instead of deflated.
    bool stored = false;
    /// Video, sound attachment, ambient sound and narration made with ffmpeg and
    /// espeak-ng when they are installed; without them (or when false) the
    /// ambient sound is a plain WAV tone and the video, sound and narration are
    /// left out.
    bool externalMedia = true;
    /// Narration for every station (needs externalMedia and both programs).
    bool narration = true;
    QString password = QStringLiteral("lumivane");
};

/// What writeSampleTour() wrote, or why it failed.
struct SampleTourResult
{
    bool ok = false;
    QString error;
    QUuid projectId;
    QList<QUuid> stationIds; ///< in project.json order
    QStringList members;     ///< archive member names in archive order
    QStringList skipped;     ///< media left out, with the reason
};
