#pragma once

#include <QList>
#include <QString>
#include <QUuid>

/// Writes small .lumivane packages for the shell's tests.
namespace ShellTestPackages {

struct Tour
{
    QUuid projectID = QUuid::createUuid();
    QString name = QStringLiteral("Maison test");
    QList<QUuid> stationIDs;
    QString password; // none when empty
    QByteArray firstPhotoLink; // when set, the first photo is a link to this path
};

/// A tour named `name` with `stationCount` stations, one photo each, and
/// a narration file for the first station.
Tour makeTour(const QString &name, int stationCount);

/// A valid package for `tour` at `path`; false when it cannot be written.
bool writeTour(const QString &path, const Tour &tour);

/// A file that is no ZIP archive at all.
bool writeCorrupt(const QString &path);

} // namespace ShellTestPackages
