#include "CoverTestTours.h"

#include "model/StationOrder.h"
#include "tests/support/ChildProcess.h"
#include "tools/make-sample-tour/SampleTourWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

bool unzipped(const QString &package, const QString &folder)
{
    ChildProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-q"), package, QStringLiteral("-d"), folder});
    return unzip.waitForFinished(60000) && unzip.exitStatus() == QProcess::NormalExit && unzip.exitCode() == 0;
}

} // namespace

std::unique_ptr<UnpackedTour> unpackedSampleTour(SampleTourVariant variant, int photoWidth)
{
    auto tour = std::make_unique<UnpackedTour>();
    SampleTourOptions options;
    options.variant = variant;
    options.photoWidth = photoWidth;
    options.externalMedia = false;
    options.narration = false;
    const QString package = tour->folder.filePath(QStringLiteral("tour.lumivane"));
    const SampleTourResult written = writeSampleTour(options, package);
    const QString unpacked = tour->folder.filePath(QStringLiteral("tour"));
    if (!written.ok || !unzipped(package, unpacked)) {
        std::fprintf(stderr, "sample tour not written: %s\n", qPrintable(written.error));
        return nullptr;
    }
    QFile json(QDir(unpacked).filePath(QStringLiteral("project.json")));
    QString error;
    std::optional<LumivaneProject> project = json.open(QIODevice::ReadOnly) ? LumivaneProject::fromJson(json.readAll(), &error)
                                                                            : std::nullopt;
    if (!project) {
        std::fprintf(stderr, "sample project not read: %s\n", qPrintable(error));
        return nullptr;
    }
    tour->project = *project;
    if (const std::optional<Station> start = startStation(tour->project))
        tour->startPhoto = tour->photoURL(start->id);
    return tour;
}

QUrl UnpackedTour::photoURL(const QUuid &stationID) const
{
    const QString name = stationID.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".jpg");
    return QUrl::fromLocalFile(folder.filePath(QStringLiteral("tour/photos/") + name));
}

QUrl writeTestPhoto(const QTemporaryDir &folder, const QString &name, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(60 + 180 * x / size.width(), 90 + 120 * y / size.height(), 200 - 100 * x / size.width());
    }
    QPainter painter(&image);
    for (int i = 0; i < 12; ++i)
        painter.fillRect(QRect(size.width() * i / 12, size.height() * (i % 3) / 3, size.width() / 24, size.height() / 6),
                         QColor::fromHsv(i * 30, 160, 250));
    painter.end();
    const QString path = folder.filePath(name);
    image.save(path, "JPEG", 90);
    return QUrl::fromLocalFile(path);
}
