// Writes the seed corpus of the package-opening fuzzer: small valid tours and
// one archive for each hostile shape the opening must refuse.

#include "tests/app/support/TourFixtures.h"
#include "tests/app/support/ZipBuilder.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cstdio>
#include <functional>

namespace {

using TourFixtures::upperID;

const QUuid projectID = QUuid::fromString(QStringLiteral("6f1c1a52-6a4e-4d0e-9d35-0c2d2f6b8e11"));
const QList<QUuid> stationIDs{QUuid::fromString(QStringLiteral("0b4c7d3e-1f2a-4b5c-8d9e-0f1a2b3c4d5e")),
                              QUuid::fromString(QStringLiteral("a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d"))};

ZipBuilder validTour(bool deflate)
{
    ZipBuilder zip;
    zip.addFile("project.json", TourFixtures::projectJSON(projectID, stationIDs), deflate)
        .add(ZipBuilder::directory("photos"))
        .addFile("photos/" + upperID(stationIDs[0]) + ".jpg", QByteArray(300, 'j'), deflate)
        .addFile("photos/" + upperID(stationIDs[1]).toLower() + ".png", "png", deflate)
        .addFile("audio/" + upperID(stationIDs[0]) + ".m4a", "aac", deflate)
        .add(ZipBuilder::symlink("attachments/plan.jpg", "../photos/" + upperID(stationIDs[0]) + ".jpg"));
    return zip;
}

ZipBuilder tourWith(const ZipBuilder::Member &extra)
{
    ZipBuilder zip = validTour(false);
    zip.add(extra);
    return zip;
}

ZipBuilder::Member lying(std::function<void(ZipBuilder::Member &)> change)
{
    ZipBuilder::Member member = ZipBuilder::file("photos/lie.jpg", QByteArray(2000, 'l'));
    change(member);
    return member;
}

QList<QPair<QString, QByteArray>> seeds()
{
    ZipBuilder cp437 = validTour(false);
    ZipBuilder::Member cp437Name = ZipBuilder::file("attachments/r\x82sum\x82.pdf", "%PDF");
    cp437Name.utf8 = false;
    cp437.add(cp437Name);

    ZipBuilder chain;
    chain.add(ZipBuilder::symlink("d", ".")).addFile("d/d/../../x", "x").addFile("d/x", "x");
    ZipBuilder nested;
    nested.addFile("tour/project.json", TourFixtures::projectJSON(projectID, stationIDs));
    ZipBuilder projectFolder;
    projectFolder.add(ZipBuilder::directory("project.json")).addFile("project.json/inner", "{}");
    ZipBuilder duplicate = validTour(false);
    duplicate.addFile("photos/" + upperID(stationIDs[0]) + ".jpg", "again");
    ZipBuilder badJson;
    badJson.addFile("project.json", R"({"id": "not a uuid", "name": 3})");

    QByteArray truncated = validTour(true).build();
    truncated.chop(40);
    ZipBuilder zip64 = validTour(true);
    zip64.setZip64(true);

    return {
        {"valid-stored", validTour(false).build()},
        {"valid-deflated", validTour(true).build()},
        {"valid-zip64", zip64.build()},
        {"cp437-names", cp437.build()},
        {"traversal", tourWith(ZipBuilder::file("../escape", "x")).build()},
        {"traversal-deep", tourWith(ZipBuilder::file("photos/../../escape", "x")).build()},
        {"absolute", tourWith(ZipBuilder::file("/tmp/lumivane-escape", "x")).build()},
        {"drive-letter", tourWith(ZipBuilder::file("C:\\escape", "x")).build()},
        {"symlink-escape", tourWith(ZipBuilder::symlink("photos/out", "../../outside")).build()},
        {"symlink-chain", chain.build()},
        {"crc-mismatch", tourWith(lying([](auto &m) { m.crc = 0xdeadbeef; })).build()},
        {"size-understated", tourWith(lying([](auto &m) { m.size = 10, m.deflate = true; })).build()},
        {"size-overstated", tourWith(lying([](auto &m) { m.size = 50000; })).build()},
        {"truncated", truncated},
        {"duplicate-names", duplicate.build()},
        {"nested-project-json", nested.build()},
        {"project-json-folder", projectFolder.build()},
        {"undecodable-project", badJson.build()},
        {"not-a-zip", QByteArray("project.json")},
    };
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-corpus <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;
    for (const auto &[name, bytes] : seeds()) {
        QFile file(folder.filePath(name + QStringLiteral(".lumivane")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
