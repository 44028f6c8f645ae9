#pragma once

#include "Hotspot.h"
#include "Translations.h"

#include <QDateTime>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

class DecodeContext;
class JsonValue;

/// One photographed viewpoint of a tour with its hotspots. The photo and the
/// narration are found by id; photoFilename and the narration file names are
/// carried as the editor stored them and never used to find a file.
struct Station
{
    QUuid id;
    QString name;
    QString photoFilename;
    qint64 orderIndex = 0;
    std::optional<QString> level;
    std::optional<QDateTime> captureDate;
    std::optional<QString> cameraModel;
    std::optional<qint64> width;
    std::optional<qint64> height;
    QList<Hotspot> hotspots;
    std::optional<QString> internalNote;
    std::optional<QString> publicCaption;
    std::optional<double> floorplanX;
    std::optional<double> floorplanY;
    std::optional<double> initialYaw;
    std::optional<double> initialPitch;
    std::optional<QString> audioCommentFilename;
    std::optional<QString> audioCommentTranscription;
    std::optional<Translations> nameTranslations;
    std::optional<Translations> publicCaptionTranslations;
    std::optional<Translations> audioCommentFilenamesByLang;

    QString localizedName(const QString &languageCode) const;
    std::optional<QString> localizedCaption(const QString &languageCode) const;

    /// Decodes one station object. Malformed hotspots are dropped with a
    /// warning; a malformed field of the station itself fails it.
    static std::optional<Station> fromJson(const QByteArray &json, QString *error = nullptr);

    bool operator==(const Station &) const = default;

    // Found by argument-dependent lookup from the decoders' templates, and by
    // nothing else. The list keeps its good stations, but fails when there
    // were some and every one is malformed.
    friend bool read(const JsonValue &value, Station &out, DecodeContext &context);
    friend bool read(const JsonValue &value, QList<Station> &out, DecodeContext &context);
};
