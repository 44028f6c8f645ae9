#pragma once

#include "RoomScene.h"

#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

/// One attachment of a planned info hotspot. For the file kinds ("pdf",
/// "image", "video", "sound") payload is a base name: the writer makes the file
/// and adds the extension that fits what it made.
struct PlannedAttachment
{
    QString kind; ///< pdf, image, video, sound, text or link
    QString title;
    QString payload;
};

/// A hotspot together with the wall feature it points at.
struct PlannedHotspot
{
    WallFeature feature;      ///< a door for navigation, a plaque for info
    int targetStation = -1;   ///< index into the plan's stations; navigation only
    bool pending = false;
    QString title;            ///< info card title (French)
    QString titleEn;
    QString description;
    QString descriptionEn;
    QList<PlannedAttachment> attachments;
};

/// One station of a planned tour: its room, its texts in French with English
/// translations, its place on its level's floor plan and its hotspots.
struct PlannedStation
{
    QString name;
    QString nameEn;
    QString caption;
    QString captionEn;
    std::optional<QString> level;
    qint64 orderIndex = 0;
    QRectF planRect;          ///< room on the level's plan, fractions of the plan
    double initialYaw = 0.0;  ///< radians; also the direction of a classic photo
    QString narration;        ///< French text spoken as the station's narration
    RoomScene scene;          ///< features are filled in from the hotspots
    QList<PlannedHotspot> hotspots;
};

/// The layout of a sample tour before anything is rendered: the hand-made
/// demo house, or a generated chain of rooms of any length for benchmarks.
struct TourPlan
{
    QList<PlannedStation> stations; ///< in the order written to project.json
    int startStation = 0;

    /// Seven stations: three rooms downstairs, three upstairs and a garden
    /// without level, with every kind of hotspot and attachment.
    static TourPlan demo();
    /// count rooms in a row, ten per level, each linked to its neighbours.
    static TourPlan generated(int count);

    /// The distinct levels in order of first appearance; "" stands for
    /// stations without a level.
    QStringList levelKeys() const;
};
