#include "ShellTestPackages.h"

#include "tests/app/support/TourFixtures.h"
#include "tests/app/support/ZipBuilder.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace ShellTestPackages {

Tour makeTour(const QString &name, int stationCount)
{
    Tour tour;
    tour.name = name;
    for (int i = 0; i < stationCount; ++i)
        tour.stationIDs.append(QUuid::createUuid());
    return tour;
}

bool writeTour(const QString &path, const Tour &tour)
{
    ZipBuilder zip;
    QJsonObject project =
        QJsonDocument::fromJson(TourFixtures::projectJSON(tour.projectID, tour.stationIDs, tour.name)).object();
    if (!tour.password.isEmpty())
        project.insert("tourPassword", tour.password);
    zip.addFile("project.json", QJsonDocument(project).toJson(QJsonDocument::Compact), true);
    for (const QUuid &id : tour.stationIDs) {
        const QByteArray name = "photos/" + TourFixtures::upperID(id) + ".jpg";
        if (id == tour.stationIDs.first() && !tour.firstPhotoLink.isEmpty())
            zip.add(ZipBuilder::symlink(name, tour.firstPhotoLink));
        else
            zip.addFile(name, "not decoded by the shell");
    }
    if (!tour.stationIDs.isEmpty())
        zip.addFile("audio/" + TourFixtures::upperID(tour.stationIDs.first()) + ".m4a", "narration");
    zip.addFile("attachments/plan.pdf", "%PDF-1.4");
    return zip.writeTo(path);
}

bool writeCorrupt(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray(200, 'x')) == 200;
}

} // namespace ShellTestPackages
