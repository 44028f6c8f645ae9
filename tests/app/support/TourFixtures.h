#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

/// The smallest project.json texts that decode into a tour.
namespace TourFixtures {

/// A project with the given id and name and one plain station per id, in order.
QByteArray projectJSON(const QUuid &projectID, const QList<QUuid> &stationIDs,
                       const QString &name = QStringLiteral("Maison témoin"));

/// The canonical upper-case form package file names use.
QByteArray upperID(const QUuid &id);

} // namespace TourFixtures
