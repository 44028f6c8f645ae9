#include "ProjectJsonBuilder.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QUuid sampleNamespace = QUuid::fromString(QStringLiteral("6f1c1f7e-3a52-4d1b-9a0e-3c2b7d5e9a41"));

QString isoDate(int year, int month, int day, int hour, int minute)
{
    // Whole seconds and a "Z": the editor's date form.
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC).toString(Qt::ISODate);
}

QString variantName(SampleTourVariant variant)
{
    switch (variant) {
    case SampleTourVariant::Demo: return QStringLiteral("demo");
    case SampleTourVariant::Password: return QStringLiteral("password");
    case SampleTourVariant::Classic: return QStringLiteral("classic");
    }
    return {};
}

QJsonObject english(const QString &text)
{
    return QJsonObject{{QStringLiteral("en"), text}};
}

} // namespace

ProjectJsonBuilder::ProjectJsonBuilder(const TourPlan &plan, const SampleTourOptions &options)
    : m_plan(plan)
    , m_options(options)
    , m_projectId(QUuid::createUuidV5(sampleNamespace, QStringLiteral("%1/%2").arg(variantName(options.variant))
                                                          .arg(options.stationCount)))
{
}

QUuid ProjectJsonBuilder::derivedId(const QString &name) const
{
    return QUuid::createUuidV5(m_projectId, name);
}

QUuid ProjectJsonBuilder::stationId(int index) const
{
    return derivedId(QStringLiteral("station/%1").arg(index));
}

QString ProjectJsonBuilder::fileId(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QByteArray ProjectJsonBuilder::build(const SampleAssets &assets) const
{
    return QJsonDocument(projectObject(assets)).toJson(QJsonDocument::Indented);
}

QJsonObject ProjectJsonBuilder::projectObject(const SampleAssets &assets) const
{
    const bool classic = m_options.variant == SampleTourVariant::Classic;
    QJsonObject project;
    project[QStringLiteral("id")] = fileId(m_projectId);
    project[QStringLiteral("name")] = m_options.stationCount > 0
        ? QStringLiteral("Visite de test (%1 pièces)").arg(m_options.stationCount)
        : QStringLiteral("Maison des Tilleuls");
    project[QStringLiteral("address")] = QStringLiteral("12 rue des Tilleuls, 69003 Lyon");
    project[QStringLiteral("category")] = QStringLiteral("residential");
    project[QStringLiteral("renderMode")] = classic ? QStringLiteral("classic") : QStringLiteral("immersive");
    project[QStringLiteral("createdAt")] = isoDate(2026, 2, 14, 9, 30);
    project[QStringLiteral("updatedAt")] = isoDate(2026, 3, 1, 10, 15);
    project[QStringLiteral("status")] = QStringLiteral("ready");
    addFacts(project);

    QJsonArray stations;
    for (int i = 0; i < m_plan.stations.size(); ++i)
        stations.append(stationObject(i, assets));
    project[QStringLiteral("stations")] = stations;
    if (!m_plan.stations.isEmpty())
        project[QStringLiteral("startingStationID")] = fileId(stationId(m_plan.startStation));

    addCoverAndContact(project, assets);
    project[QStringLiteral("hotspotStyle")] = classic ? QStringLiteral("classic") : QStringLiteral("haloRipple");
    project[QStringLiteral("showHotspotLabels")] = true;
    if (m_options.variant == SampleTourVariant::Password)
        project[QStringLiteral("tourPassword")] = m_options.password;
    project[QStringLiteral("kioskEnabled")] = true;
    project[QStringLiteral("kioskStationDuration")] = 45;
    project[QStringLiteral("feedbackEnabled")] = true;
    project[QStringLiteral("feedbackEmail")] = QStringLiteral("avis@horizon-clair.example");
    project[QStringLiteral("watermarkText")] = QStringLiteral("Horizon Clair Immobilier");
    project[QStringLiteral("watermarkOpacity")] = 0.2;
    project[QStringLiteral("templateID")] = QStringLiteral("maison-familiale");
    if (!assets.ambience.isEmpty()) {
        project[QStringLiteral("ambientSoundData")] = QString::fromLatin1(assets.ambience.toBase64());
        project[QStringLiteral("ambientSoundFileName")] = assets.ambienceFileName;
    }
    project[QStringLiteral("classicTransitionStyle")] = QStringLiteral("fade");
    project[QStringLiteral("classicPhotoDurationSec")] = 5;
    project[QStringLiteral("classicLoopToCover")] = false;
    project[QStringLiteral("hideTripod")] = false;
    project[QStringLiteral("tripodPatchStyle")] = QStringLiteral("logo");
    project[QStringLiteral("tripodPatchSize")] = 0.18;
    QJsonObject plans;
    for (auto it = assets.floorPlans.cbegin(); it != assets.floorPlans.cend(); ++it)
        plans[it.key()] = QString::fromLatin1(it.value().toBase64());
    project[QStringLiteral("floorplansByLevel")] = plans;
    project[QStringLiteral("showFloorplan")] = true;
    project[QStringLiteral("locationLatitude")] = 45.7597;
    project[QStringLiteral("locationLongitude")] = 4.8422;
    project[QStringLiteral("locationZoom")] = 16;
    project[QStringLiteral("showLocationMap")] = true;
    project[QStringLiteral("lastPublication")] = QJsonObject{
        {QStringLiteral("url"), QStringLiteral("https://visites.horizon-clair.example/maison-des-tilleuls")},
        {QStringLiteral("publishedAt"), isoDate(2026, 3, 2, 8, 0)},
        {QStringLiteral("remoteSlug"), QStringLiteral("maison-des-tilleuls")}};
    return project;
}

void ProjectJsonBuilder::addFacts(QJsonObject &project) const
{
    project[QStringLiteral("area")] = 142.5;
    project[QStringLiteral("roomCount")] = 6;
    project[QStringLiteral("floors")] = 2;
    project[QStringLiteral("yearBuilt")] = 1932;
    project[QStringLiteral("contactName")] = QStringLiteral("Claire Martin");
    project[QStringLiteral("internalReference")] = QStringLiteral("MT-2026-014");
    project[QStringLiteral("website")] = QStringLiteral("https://www.example.org/maison-des-tilleuls");
    project[QStringLiteral("tags")] = QJsonArray{QStringLiteral("maison"), QStringLiteral("jardin"),
                                                 QStringLiteral("lumineux")};
    project[QStringLiteral("freeNote")] = QStringLiteral("Maison familiale au calme, proche des commerces.");
    project[QStringLiteral("privateNote")] = QStringLiteral("Clés à l'agence.");
    project[QStringLiteral("transactionType")] = QStringLiteral("sale");
    project[QStringLiteral("price")] = 685000;
    project[QStringLiteral("charges")] = 120;
    project[QStringLiteral("bedroomsCount")] = 3;
    project[QStringLiteral("bathroomsCount")] = 2;
    project[QStringLiteral("floorNumber")] = 0;
    project[QStringLiteral("balconyArea")] = 12.5;
    project[QStringLiteral("hasParking")] = true;
    project[QStringLiteral("hasCellar")] = true;
    project[QStringLiteral("hasElevator")] = false;
    project[QStringLiteral("hasPool")] = false;
    project[QStringLiteral("hasGarden")] = true;
    project[QStringLiteral("isFurnished")] = false;
    project[QStringLiteral("energyClass")] = QStringLiteral("C");
    project[QStringLiteral("greenhouseClass")] = QStringLiteral("B");
    project[QStringLiteral("mandateReference")] = QStringLiteral("M-4521");
    project[QStringLiteral("mandateType")] = QStringLiteral("exclusive");
    project[QStringLiteral("customFields")] = QJsonArray{
        QJsonObject{{QStringLiteral("id"), fileId(derivedId(QStringLiteral("custom/0")))},
                    {QStringLiteral("name"), QStringLiteral("Exposition")},
                    {QStringLiteral("type"), QStringLiteral("text")},
                    {QStringLiteral("value"), QStringLiteral("Sud-ouest")}},
        QJsonObject{{QStringLiteral("id"), fileId(derivedId(QStringLiteral("custom/1")))},
                    {QStringLiteral("name"), QStringLiteral("Taxe foncière (€)")},
                    {QStringLiteral("type"), QStringLiteral("number")},
                    {QStringLiteral("value"), QStringLiteral("1850")}},
        QJsonObject{{QStringLiteral("id"), fileId(derivedId(QStringLiteral("custom/2")))},
                    {QStringLiteral("name"), QStringLiteral("Fibre optique")},
                    {QStringLiteral("type"), QStringLiteral("boolean")},
                    {QStringLiteral("value"), QStringLiteral("true")}}};
}

void ProjectJsonBuilder::addCoverAndContact(QJsonObject &project, const SampleAssets &assets) const
{
    if (!assets.logoPng.isEmpty())
        project[QStringLiteral("coverLogoData")] = QString::fromLatin1(assets.logoPng.toBase64());
    project[QStringLiteral("coverAgencyName")] = QStringLiteral("Horizon Clair Immobilier");
    project[QStringLiteral("coverContactPhone")] = QStringLiteral("+33 4 72 00 00 00");
    project[QStringLiteral("coverContactEmail")] = QStringLiteral("contact@horizon-clair.example");
    project[QStringLiteral("coverContactWebsite")] = QStringLiteral("https://www.horizon-clair.example");
    project[QStringLiteral("coverDescription")] =
        QStringLiteral("Belle maison des années 1930 avec jardin clos, trois chambres et un séjour lumineux.");
    project[QStringLiteral("brandingAccentHex")] = QStringLiteral("#2E86AB");
    project[QStringLiteral("showBrandingInTopbar")] = true;
    project[QStringLiteral("contactFormEnabled")] = true;
    project[QStringLiteral("contactFormEmail")] = QStringLiteral("contact@horizon-clair.example");
    project[QStringLiteral("contactFormButtonLabel")] = QStringLiteral("Demander une visite");
    const auto formField = [this](int index, const QString &label, const QString &type, bool required,
                                  const QString &placeholder) {
        QJsonObject field{{QStringLiteral("id"), fileId(derivedId(QStringLiteral("form/%1").arg(index)))},
                          {QStringLiteral("label"), label},
                          {QStringLiteral("type"), type},
                          {QStringLiteral("required"), required}};
        if (!placeholder.isEmpty())
            field[QStringLiteral("placeholder")] = placeholder;
        return field;
    };
    project[QStringLiteral("contactFormCustomFields")] = QJsonArray{
        formField(0, QStringLiteral("Téléphone"), QStringLiteral("phone"), true, QStringLiteral("06 12 34 56 78")),
        formField(1, QStringLiteral("Budget (€)"), QStringLiteral("number"), false, QString()),
        formField(2, QStringLiteral("Vos disponibilités"), QStringLiteral("textarea"), false,
                  QStringLiteral("Jours et heures")),
        formField(3, QStringLiteral("J'accepte d'être recontacté"), QStringLiteral("checkbox"), true, QString())};
}

QJsonObject ProjectJsonBuilder::stationObject(int index, const SampleAssets &assets) const
{
    const PlannedStation &planned = m_plan.stations.at(index);
    const QString id = fileId(stationId(index));
    QJsonObject station;
    station[QStringLiteral("id")] = id;
    station[QStringLiteral("name")] = planned.name;
    // The editor keeps the camera's own file name; the viewer must find the
    // photo by station id, never by this name.
    station[QStringLiteral("photoFilename")] = m_options.stationCount > 0
        ? id + QStringLiteral(".jpg")
        : QStringLiteral("R00100%1.JPG").arg(index + 41);
    station[QStringLiteral("orderIndex")] = planned.orderIndex;
    if (planned.level)
        station[QStringLiteral("level")] = *planned.level;
    station[QStringLiteral("captureDate")] = isoDate(2026, 2, 14, 10, index % 60);
    station[QStringLiteral("cameraModel")] = QStringLiteral("Lumicam 360");
    station[QStringLiteral("width")] = assets.photoWidth;
    station[QStringLiteral("height")] = assets.photoHeight;
    station[QStringLiteral("publicCaption")] = planned.caption;
    station[QStringLiteral("internalNote")] = QStringLiteral("Prise de vue n°%1").arg(index + 1);
    station[QStringLiteral("floorplanX")] = planned.planRect.center().x();
    station[QStringLiteral("floorplanY")] = planned.planRect.center().y();
    station[QStringLiteral("initialYaw")] = planned.initialYaw;
    station[QStringLiteral("initialPitch")] = 0.0;
    station[QStringLiteral("nameTranslations")] = english(planned.nameEn);
    station[QStringLiteral("publicCaptionTranslations")] = english(planned.captionEn);
    if (assets.narratedStations.contains(index)) {
        station[QStringLiteral("audioCommentFilename")] = id + QStringLiteral(".m4a");
        station[QStringLiteral("audioCommentTranscription")] = planned.narration;
        station[QStringLiteral("audioCommentFilenamesByLang")] =
            QJsonObject{{QStringLiteral("fr"), id + QStringLiteral(".m4a")}};
    }
    QJsonArray hotspots;
    const QList<std::optional<QPointF>> positions = assets.hotspotPositions.value(index);
    for (int h = 0; h < planned.hotspots.size(); ++h) {
        const std::optional<QPointF> position = positions.value(h);
        if (position)
            hotspots.append(hotspotObject(index, h, *position, assets));
    }
    station[QStringLiteral("hotspots")] = hotspots;
    return station;
}

QJsonObject ProjectJsonBuilder::hotspotObject(int station, int hotspot, QPointF position,
                                              const SampleAssets &assets) const
{
    const PlannedHotspot &planned = m_plan.stations.at(station).hotspots.at(hotspot);
    const QString prefix = QStringLiteral("hotspot/%1/%2").arg(station).arg(hotspot);
    QJsonObject object;
    object[QStringLiteral("id")] = fileId(derivedId(prefix));
    object[QStringLiteral("yaw")] = position.x();
    object[QStringLiteral("pitch")] = position.y();
    object[QStringLiteral("isPending")] = planned.pending;
    if (planned.targetStation >= 0) {
        object[QStringLiteral("kind")] = QStringLiteral("navigation");
        object[QStringLiteral("targetStationID")] = fileId(stationId(planned.targetStation));
        object[QStringLiteral("label")] = planned.feature.label;
        return object;
    }
    // Info hotspots still carry a target: the editor points it at their own station.
    object[QStringLiteral("kind")] = QStringLiteral("info");
    object[QStringLiteral("targetStationID")] = fileId(stationId(station));
    object[QStringLiteral("label")] = planned.title;
    object[QStringLiteral("infoTitle")] = planned.title;
    object[QStringLiteral("infoDescription")] = planned.description;
    object[QStringLiteral("infoTitleTranslations")] = english(planned.titleEn);
    object[QStringLiteral("infoDescriptionTranslations")] = english(planned.descriptionEn);
    QJsonArray attachments;
    for (int a = 0; a < planned.attachments.size(); ++a) {
        const PlannedAttachment &attachment = planned.attachments.at(a);
        QString payload = attachment.payload;
        const bool isFile = attachment.kind != QLatin1String("text") && attachment.kind != QLatin1String("link");
        if (isFile) {
            if (!assets.attachmentFiles.contains(payload))
                continue;
            payload = assets.attachmentFiles.value(payload);
        }
        attachments.append(QJsonObject{{QStringLiteral("id"), fileId(derivedId(prefix + QStringLiteral("/%1").arg(a)))},
                                       {QStringLiteral("kind"), attachment.kind},
                                       {QStringLiteral("title"), attachment.title},
                                       {QStringLiteral("payload"), payload}});
    }
    object[QStringLiteral("attachments")] = attachments;
    return object;
}
