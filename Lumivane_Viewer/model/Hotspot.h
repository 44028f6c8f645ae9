#pragma once

#include "HotspotAttachment.h"
#include "ModelEnums.h"
#include "Translations.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

class DecodeContext;
class JsonValue;

/// A point on a station's photo: yaw and pitch in radians on a panorama, or,
/// in a classic tour, fractions of the shown photo from its top-left corner.
/// Leads to targetStationID (navigation) or opens an info card (info).
/// Decoding does not check that the target names a station of the tour.
struct Hotspot
{
    QUuid id;
    HotspotKind kind = HotspotKind::navigation;
    double yaw = 0;
    double pitch = 0;
    QUuid targetStationID;
    std::optional<QString> label;
    bool isPending = false;
    std::optional<QString> infoTitle;
    std::optional<QString> infoDescription;
    QList<HotspotAttachment> attachments;
    std::optional<Translations> infoTitleTranslations;
    std::optional<Translations> infoDescriptionTranslations;

    std::optional<QString> localizedInfoTitle(const QString &languageCode) const;
    std::optional<QString> localizedInfoDescription(const QString &languageCode) const;

    /// Decodes one hotspot object. Malformed attachments are dropped with a
    /// warning; a malformed field of the hotspot itself fails it.
    static std::optional<Hotspot> fromJson(const QByteArray &json, QString *error = nullptr);

    bool operator==(const Hotspot &) const = default;

    // Found by argument-dependent lookup from the decoders' templates, and by
    // nothing else. The list keeps its good elements.
    friend bool read(const JsonValue &value, Hotspot &out, DecodeContext &context);
    friend bool read(const JsonValue &value, QList<Hotspot> &out, DecodeContext &context);
};
