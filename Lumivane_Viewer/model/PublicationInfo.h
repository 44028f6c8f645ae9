#pragma once

#include <QDateTime>
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

class DecodeContext;
class JsonValue;

/// The tour's last web publication by the editor; carried, read by no view.
struct PublicationInfo
{
    QUrl url;
    QDateTime publishedAt;
    std::optional<QUuid> serverProfileID;
    std::optional<QString> serverName;
    QString remoteSlug;

    static std::optional<PublicationInfo> fromJson(const QByteArray &json, QString *error = nullptr);

    bool operator==(const PublicationInfo &) const = default;

    // Found by argument-dependent lookup from the decoders' templates, and by
    // nothing else.
    friend bool read(const JsonValue &value, PublicationInfo &out, DecodeContext &context);
};
