#pragma once

#include "SampleTourOptions.h"
#include "TourPlan.h"

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QPointF>
#include <QSet>

#include <optional>

/// What was actually made for a package, for project.json to refer to.
struct SampleAssets
{
    QByteArray logoPng;
    QMap<QString, QByteArray> floorPlans; ///< by level key, "" for stations without level
    QByteArray ambience;
    QString ambienceFileName;
    /// Planned base payload to the file name written under attachments/;
    /// attachments whose file was not made are left out.
    QMap<QString, QString> attachmentFiles;
    QSet<int> narratedStations;
    /// Per station and hotspot: yaw and pitch in radians, or for a classic tour
    /// fractions of the photo; hotspots without a position are left out.
    QList<QList<std::optional<QPointF>>> hotspotPositions;
    int photoWidth = 0;
    int photoHeight = 0;
};

/// Writes project.json for a planned tour the way the editor does: upper-case
/// ids, ISO 8601 dates in whole seconds, base64 for embedded files. Ids are
/// derived from the variant and the station count, so the same options give
/// the same ids on every run.
class ProjectJsonBuilder
{
public:
    ProjectJsonBuilder(const TourPlan &plan, const SampleTourOptions &options);

    QUuid projectId() const { return m_projectId; }
    QUuid stationId(int index) const;
    /// The upper-case canonical text that names a station's files.
    static QString fileId(const QUuid &id);

    QByteArray build(const SampleAssets &assets) const;

private:
    QJsonObject projectObject(const SampleAssets &assets) const;
    void addFacts(QJsonObject &project) const;
    void addCoverAndContact(QJsonObject &project, const SampleAssets &assets) const;
    QJsonObject stationObject(int index, const SampleAssets &assets) const;
    QJsonObject hotspotObject(int station, int hotspot, QPointF position, const SampleAssets &assets) const;
    QUuid derivedId(const QString &name) const;

    const TourPlan &m_plan;
    SampleTourOptions m_options;
    QUuid m_projectId;
};
