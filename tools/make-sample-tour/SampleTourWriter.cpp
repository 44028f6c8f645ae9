#include "SampleTourWriter.h"

#include "EnlargedJpegWriter.h"
#include "ExternalMediaTools.h"
#include "ProjectJsonBuilder.h"
#include "RoomRenderer.h"
#include "SampleArtwork.h"
#include "TourPlan.h"
#include "ZipPackageWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFuture>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimeZone>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <numbers>

namespace {

constexpr double classicFieldOfView = 100.0 * std::numbers::pi / 180.0;
constexpr double videoSeconds = 3.0;
constexpr double ambienceSeconds = 6.0;

/// A file made by an external program in the background.
struct MediaJob
{
    QString member;        ///< archive member name
    QString path;          ///< where the program writes it
    QString description;   ///< for the skipped list
    QFuture<QString> done; ///< the program's complaint, empty on success
    int narratedStation = -1;
    QString attachmentKey; ///< planned payload this file stands for
    bool ambience = false;
};

TourPlan planFor(const SampleTourOptions &options)
{
    TourPlan plan = options.stationCount > 0 ? TourPlan::generated(options.stationCount) : TourPlan::demo();
    for (PlannedStation &station : plan.stations) {
        for (const PlannedHotspot &hotspot : station.hotspots)
            station.scene.features.append(hotspot.feature);
    }
    return plan;
}

QList<PlannedAttachment> fileAttachments(const TourPlan &plan)
{
    QList<PlannedAttachment> files;
    QStringList seen;
    for (const PlannedStation &station : plan.stations) {
        for (const PlannedHotspot &hotspot : station.hotspots) {
            for (const PlannedAttachment &attachment : hotspot.attachments) {
                const bool isFile = attachment.kind != QLatin1String("text") && attachment.kind != QLatin1String("link");
                if (isFile && !seen.contains(attachment.payload)) {
                    seen.append(attachment.payload);
                    files.append(attachment);
                }
            }
        }
    }
    return files;
}

class PackageAssembly
{
public:
    PackageAssembly(const SampleTourOptions &options, const QString &outputPath)
        : m_options(options)
        , m_outputPath(outputPath)
        , m_plan(planFor(options))
        , m_builder(m_plan, options)
    {
        m_mediaPool.setMaxThreadCount(2);
    }

    SampleTourResult run()
    {
        m_result.projectId = m_builder.projectId();
        for (int i = 0; i < m_plan.stations.size(); ++i)
            m_result.stationIds.append(m_builder.stationId(i));
        if (!m_work.isValid())
            return failed(QStringLiteral("cannot create a temporary folder"));
        // libzip only finds out at the very end; say so before rendering anything.
        if (!QFileInfo(QFileInfo(m_outputPath).absolutePath()).isDir())
            return failed(QStringLiteral("no folder for ") + m_outputPath);
        for (const char *folder : {"photos", "audio", "attachments"})
            QDir(m_work.path()).mkpath(QString::fromLatin1(folder));

        startMediaJobs();
        makeStillAttachments();
        if (!renderPhotos())
            return m_result;
        m_assets.logoPng = m_options.logoBytes.isEmpty()
            ? SampleArtwork::logoPng(QStringLiteral("Horizon Clair Immobilier"))
            : m_options.logoBytes;
        for (const QString &level : m_plan.levelKeys()) {
            m_assets.floorPlans.insert(level, m_options.floorPlanBytes.isEmpty()
                                                  ? SampleArtwork::floorPlanPng(m_plan, level)
                                                  : m_options.floorPlanBytes);
        }
        collectMediaJobs();
        if (m_assets.ambience.isEmpty()) {
            m_assets.ambience = SampleArtwork::toneWav(ambienceSeconds, 220);
            m_assets.ambienceFileName = QStringLiteral("ambiance.wav");
        }
        if (!writeArchive())
            return m_result;
        m_result.ok = true;
        return m_result;
    }

private:
    SampleTourResult failed(const QString &error)
    {
        m_result.ok = false;
        m_result.error = error;
        return m_result;
    }

    QString workPath(const QString &member) const { return m_work.filePath(member); }

    bool useExternalMedia() const { return m_options.externalMedia && m_tools.canEncode(); }

    void addJob(MediaJob job, const std::function<bool(const ExternalMediaTools &, const QString &)> &make)
    {
        const ExternalMediaTools tools = m_tools;
        const QString path = job.path;
        job.done = QtConcurrent::run(&m_mediaPool, [tools, path, make] {
            return make(tools, path) ? QString() : tools.lastError();
        });
        m_jobs.append(job);
    }

    void startMediaJobs()
    {
        if (!useExternalMedia()) {
            if (m_options.externalMedia)
                m_result.skipped.append(QStringLiteral("video and narration: ffmpeg is not installed"));
            return;
        }
        for (const PlannedAttachment &attachment : fileAttachments(m_plan)) {
            if (attachment.kind == QLatin1String("video")) {
                const QString name = attachment.payload + QLatin1Char('.') + m_tools.videoExtension();
                addJob({QStringLiteral("attachments/") + name, workPath(QStringLiteral("attachments/") + name),
                        QStringLiteral("video"), {}, -1, attachment.payload, false},
                       [](const ExternalMediaTools &tools, const QString &path) {
                           return tools.makeVideo(path, videoSeconds);
                       });
            } else if (attachment.kind == QLatin1String("sound")) {
                const QString name = attachment.payload + QStringLiteral(".m4a");
                addJob({QStringLiteral("attachments/") + name, workPath(QStringLiteral("attachments/") + name),
                        QStringLiteral("sound"), {}, -1, attachment.payload, false},
                       [](const ExternalMediaTools &tools, const QString &path) { return tools.makeChime(path); });
            }
        }
        addJob({QString(), workPath(QStringLiteral("ambiance.m4a")), QStringLiteral("ambient sound"), {}, -1, {}, true},
               [](const ExternalMediaTools &tools, const QString &path) {
                   return tools.makeAmbience(path, ambienceSeconds);
               });
        if (!m_options.narration)
            return;
        if (!m_tools.canSpeak()) {
            m_result.skipped.append(QStringLiteral("narration: espeak-ng is not installed"));
            return;
        }
        for (int i = 0; i < m_plan.stations.size(); ++i) {
            const QString member = QStringLiteral("audio/") + ProjectJsonBuilder::fileId(m_builder.stationId(i))
                + QStringLiteral(".m4a");
            const QString text = m_plan.stations.at(i).narration;
            addJob({member, workPath(member), QStringLiteral("narration"), {}, i, {}, false},
                   [text](const ExternalMediaTools &tools, const QString &path) {
                       return tools.makeSpeech(text, QStringLiteral("fr"), path);
                   });
        }
    }

    void makeStillAttachments()
    {
        for (const PlannedAttachment &attachment : fileAttachments(m_plan)) {
            QString name;
            if (attachment.kind == QLatin1String("pdf")) {
                name = attachment.payload + QStringLiteral(".pdf");
                if (!SampleArtwork::writeBrochurePdf(workPath(QStringLiteral("attachments/") + name),
                                                     attachment.title, m_plan))
                    continue;
            } else if (attachment.kind == QLatin1String("image")) {
                name = attachment.payload + QStringLiteral(".png");
                if (!writeFile(QStringLiteral("attachments/") + name, SampleArtwork::picturePng(attachment.title)))
                    continue;
            } else if (attachment.kind == QLatin1String("sound") && !useExternalMedia()) {
                name = attachment.payload + QStringLiteral(".wav");
                if (!writeFile(QStringLiteral("attachments/") + name, SampleArtwork::toneWav(1.5, 660)))
                    continue;
            } else {
                continue;
            }
            m_assets.attachmentFiles.insert(attachment.payload, name);
            m_attachmentMembers.append(QStringLiteral("attachments/") + name);
        }
    }

    bool writeFile(const QString &member, const QByteArray &bytes) const
    {
        QFile file(workPath(member));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    bool renderPhotos()
    {
        const bool classic = m_options.variant == SampleTourVariant::Classic;
        const int width = std::max(16, m_options.photoWidth);
        const QSize size(width, width / 2);
        m_assets.photoWidth = size.width();
        m_assets.photoHeight = size.height();
        const double pixelsPerMetre = std::clamp(width / 16.0, 24.0, 320.0);
        for (int i = 0; i < m_plan.stations.size(); ++i) {
            const PlannedStation &station = m_plan.stations.at(i);
            const RoomRenderer renderer(station.scene, pixelsPerMetre);
            QList<std::optional<QPointF>> positions;
            for (const PlannedHotspot &hotspot : station.hotspots) {
                const ViewDirection direction = renderer.directionOf(hotspot.feature);
                if (classic)
                    positions.append(RoomRenderer::perspectivePosition(direction, size, station.initialYaw,
                                                                       classicFieldOfView));
                else
                    positions.append(QPointF(direction.yaw, direction.pitch));
            }
            m_assets.hotspotPositions.append(positions);
            const QImage photo = classic
                ? renderer.renderPerspective(size, station.initialYaw, classicFieldOfView)
                : renderer.renderEquirectangular(width);
            const QString member = QStringLiteral("photos/") + ProjectJsonBuilder::fileId(m_builder.stationId(i))
                + QStringLiteral(".jpg");
            if (!savePhoto(photo, i == m_plan.startStation, workPath(member))) {
                failed(QStringLiteral("cannot write the photo of ") + station.name);
                return false;
            }
            m_photoMembers.append(member);
        }
        return true;
    }

    bool savePhoto(const QImage &photo, bool start, const QString &path) const
    {
        const QByteArray &given = start ? m_options.startPhotoBytes : m_options.photoBytes;
        if (!given.isEmpty()) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(given) == given.size();
        }
        const int enlargedWidth = m_options.enlargedStartPhotoWidth;
        if (start && enlargedWidth > 0)
            return EnlargedJpegWriter::write(photo, QSize(enlargedWidth, enlargedWidth / 2), m_options.jpegQuality, path);
        return photo.save(path, "JPG", m_options.jpegQuality);
    }

    void collectMediaJobs()
    {
        for (MediaJob &job : m_jobs) {
            job.done.waitForFinished();
            const QString complaint = job.done.result();
            if (!complaint.isEmpty() || !QFileInfo(job.path).isFile()) {
                m_result.skipped.append(QStringLiteral("%1 %2: %3")
                                            .arg(job.description, QFileInfo(job.path).fileName(), complaint));
                continue;
            }
            if (job.ambience) {
                QFile file(job.path);
                if (file.open(QIODevice::ReadOnly)) {
                    m_assets.ambience = file.readAll();
                    m_assets.ambienceFileName = QFileInfo(job.path).fileName();
                }
            } else if (job.narratedStation >= 0) {
                m_assets.narratedStations.insert(job.narratedStation);
                m_audioMembers.append(job.member);
            } else {
                m_assets.attachmentFiles.insert(job.attachmentKey, QFileInfo(job.path).fileName());
                m_attachmentMembers.append(job.member);
            }
        }
    }

    bool writeArchive()
    {
        const auto compression = m_options.stored ? ZipPackageWriter::Compression::Stored
                                                  : ZipPackageWriter::Compression::Deflated;
        ZipPackageWriter zip;
        if (!zip.open(m_outputPath)) {
            failed(zip.errorString());
            return false;
        }
        zip.setModificationTime(QDateTime(QDate(2026, 3, 1), QTime(10, 15), QTimeZone::utc()));
        bool ok = zip.addBytes(QStringLiteral("project.json"), m_builder.build(m_assets), compression);
        m_result.members.append(QStringLiteral("project.json"));
        const auto addFolder = [&](const QString &folder, const QStringList &members) {
            if (members.isEmpty())
                return;
            ok = ok && zip.addDirectory(folder + QLatin1Char('/'));
            m_result.members.append(folder + QLatin1Char('/'));
            for (const QString &member : members) {
                ok = ok && zip.addFile(member, workPath(member), compression);
                m_result.members.append(member);
            }
        };
        addFolder(QStringLiteral("photos"), m_photoMembers);
        addFolder(QStringLiteral("audio"), m_audioMembers);
        addFolder(QStringLiteral("attachments"), m_attachmentMembers);
        if (!ok || !zip.close()) {
            failed(zip.errorString());
            return false;
        }
        return true;
    }

    SampleTourOptions m_options;
    QString m_outputPath;
    TourPlan m_plan;
    ProjectJsonBuilder m_builder;
    ExternalMediaTools m_tools;
    QTemporaryDir m_work;
    // After m_work: destroyed first, so running jobs finish before their folder goes.
    QThreadPool m_mediaPool;
    QList<MediaJob> m_jobs;
    SampleAssets m_assets;
    QStringList m_photoMembers;
    QStringList m_audioMembers;
    QStringList m_attachmentMembers;
    SampleTourResult m_result;
};

} // namespace

SampleTourResult writeSampleTour(const SampleTourOptions &options, const QString &outputPath)
{
    PackageAssembly assembly(options, outputPath);
    return assembly.run();
}
