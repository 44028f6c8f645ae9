#include "TourJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QtGlobal>

namespace TourJson {

QString uuid(int n)
{
    return QStringLiteral("6F9619FF-8B86-D011-B42D-%1").arg(n, 12, 10, QLatin1Char('0'));
}

QJsonObject attachment(int n)
{
    return {{"id", uuid(300 + n)}, {"kind", "pdf"}, {"title", "Plan"}, {"payload", "plan.pdf"}};
}

QJsonObject hotspot(int n)
{
    return {{"id", uuid(200 + n)}, {"kind", "info"}, {"yaw", 1.5}, {"pitch", -0.25},
            {"targetStationID", uuid(1)}, {"attachments", QJsonArray{attachment(1), attachment(2)}}};
}

QJsonObject station(int n)
{
    return {{"id", uuid(100 + n)}, {"name", QStringLiteral("Salon %1").arg(n)},
            {"photoFilename", "photo.jpg"}, {"orderIndex", n},
            {"hotspots", QJsonArray{hotspot(1), hotspot(2)}}};
}

QJsonObject customField(int n)
{
    return {{"id", uuid(400 + n)}, {"name", "Cheminée"}, {"type", "boolean"}, {"value", "true"}};
}

QJsonObject formField(int n)
{
    return {{"id", uuid(500 + n)}, {"label", "Budget"}, {"type", "number"}, {"required", true}};
}

QJsonObject publication()
{
    return {{"url", "https://example.org/tours/villa"}, {"publishedAt", "2026-03-01T10:15:00Z"},
            {"remoteSlug", "villa"}};
}

QJsonObject minimalProject()
{
    return {{"id", uuid(1)}, {"name", "Villa"}};
}

QByteArray toBytes(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

namespace {

QMutex capturedMutex;
QStringList captured;
QtMessageHandler previousHandler = nullptr;

void captureHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && context.category && QByteArray(context.category) == "lumivane.model") {
        QMutexLocker lock(&capturedMutex);
        captured.append(message);
    }
}

} // namespace

WarningCapture::WarningCapture()
{
    QMutexLocker lock(&capturedMutex);
    captured.clear();
    previousHandler = qInstallMessageHandler(captureHandler);
}

WarningCapture::~WarningCapture()
{
    qInstallMessageHandler(previousHandler);
}

QStringList WarningCapture::messages() const
{
    QMutexLocker lock(&capturedMutex);
    return captured;
}

} // namespace TourJson
