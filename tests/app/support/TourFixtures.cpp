#include "TourFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace TourFixtures {

QByteArray projectJSON(const QUuid &projectID, const QList<QUuid> &stationIDs, const QString &name)
{
    QJsonArray stations;
    for (qsizetype i = 0; i < stationIDs.size(); ++i) {
        stations.append(QJsonObject{{"id", stationIDs[i].toString(QUuid::WithoutBraces)},
                                    {"name", QStringLiteral("Station %1").arg(i + 1)},
                                    {"photoFilename", QStringLiteral("photo-%1.jpg").arg(i + 1)},
                                    {"orderIndex", int(i)}});
    }
    const QJsonObject project{{"id", projectID.toString(QUuid::WithoutBraces)},
                              {"name", name},
                              {"stations", stations}};
    return QJsonDocument(project).toJson(QJsonDocument::Compact);
}

QByteArray upperID(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper().toLatin1();
}

} // namespace TourFixtures
