#include "ShellTestPackages.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <zip.h>

namespace ShellTestPackages {

namespace {

QString upperID(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QByteArray projectJSON(const Tour &tour)
{
    QJsonArray stations;
    for (int i = 0; i < tour.stationIDs.size(); ++i) {
        stations.append(QJsonObject{{"id", upperID(tour.stationIDs[i])},
                                    {"name", QStringLiteral("Station %1").arg(i + 1)},
                                    {"photoFilename", upperID(tour.stationIDs[i]) + ".jpg"},
                                    {"orderIndex", i},
                                    {"hotspots", QJsonArray()}});
    }
    const QJsonObject project{{"id", upperID(tour.projectID)}, {"name", tour.name}, {"stations", stations}};
    return QJsonDocument(project).toJson(QJsonDocument::Compact);
}

bool writeZip(const QString &path, const QMap<QString, QByteArray> &members)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    // libzip reads the buffers only at zip_close; `members` outlives it.
    for (auto it = members.cbegin(); it != members.cend(); ++it) {
        zip_source_t *source = zip_source_buffer(archive, it.value().constData(), zip_uint64_t(it.value().size()), 0);
        if (!source || zip_file_add(archive, it.key().toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

} // namespace

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
    QMap<QString, QByteArray> members{{"project.json", projectJSON(tour)}};
    for (const QUuid &id : tour.stationIDs)
        members.insert("photos/" + upperID(id) + ".jpg", QByteArray("not decoded by the shell"));
    if (!tour.stationIDs.isEmpty())
        members.insert("audio/" + upperID(tour.stationIDs.first()) + ".m4a", QByteArray("narration"));
    members.insert("attachments/plan.pdf", QByteArray("%PDF-1.4"));
    return writeZip(path, members);
}

bool writeCorrupt(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray(200, 'x')) == 200;
}

} // namespace ShellTestPackages
