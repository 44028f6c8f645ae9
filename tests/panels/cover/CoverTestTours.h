#pragma once

#include "model/LumivaneProject.h"
#include "tools/make-sample-tour/SampleTourOptions.h"

#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>

#include <memory>
#include <optional>

/// A sample tour written by the sample-tour writer and unpacked into a
/// folder of its own: its project and the photo of its start station.
struct UnpackedTour
{
    QTemporaryDir folder;
    LumivaneProject project;
    std::optional<QUrl> startPhoto;

    /// The station's photo in the unpacked package.
    QUrl photoURL(const QUuid &stationID) const;
};

/// Null when writing or unpacking failed (the reason is printed).
std::unique_ptr<UnpackedTour> unpackedSampleTour(SampleTourVariant variant, int photoWidth);

/// A JPEG file of `size` in `folder`: a smooth colour field with a few
/// bright blocks, no black anywhere.
QUrl writeTestPhoto(const QTemporaryDir &folder, const QString &name, QSize size);
