#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Small valid JSON records that the tests mutate one key at a time.
namespace TourJson {

QString uuid(int n);
QJsonObject attachment(int n = 1);
QJsonObject hotspot(int n = 1);
QJsonObject station(int n = 1);
QJsonObject customField(int n = 1);
QJsonObject formField(int n = 1);
QJsonObject publication();
QJsonObject minimalProject();
QByteArray toBytes(const QJsonObject &object);

/// Collects the model's categorized warnings while it lives.
class WarningCapture
{
public:
    WarningCapture();
    ~WarningCapture();
    WarningCapture(const WarningCapture &) = delete;
    WarningCapture &operator=(const WarningCapture &) = delete;

    QStringList messages() const;
};

} // namespace TourJson
