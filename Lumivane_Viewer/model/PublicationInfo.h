#pragma once

#include <QDateTime>
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

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
};
