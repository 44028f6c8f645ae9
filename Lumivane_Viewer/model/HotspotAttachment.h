#pragma once

#include "ModelEnums.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

class DecodeContext;
class JsonValue;

/// One attachment of an info hotspot. The payload is a file name in the
/// package's attachments folder (pdf, image, video, sound), the text itself
/// (text) or a web address (link); resolving it is the viewer's business.
struct HotspotAttachment
{
    QUuid id;
    AttachmentKind kind = AttachmentKind::pdf;
    QString title;
    QString payload;

    /// Decodes one attachment object; on failure error holds the key path and reason.
    static std::optional<HotspotAttachment> fromJson(const QByteArray &json, QString *error = nullptr);

    bool operator==(const HotspotAttachment &) const = default;

    // Found by argument-dependent lookup from the decoders' templates, and by
    // nothing else. The list keeps its good elements.
    friend bool read(const JsonValue &value, HotspotAttachment &out, DecodeContext &context);
    friend bool read(const JsonValue &value, QList<HotspotAttachment> &out, DecodeContext &context);
};
