#include "HotspotAttachment.h"

#include "JsonReaders.h"

bool read(const JsonValue &value, HotspotAttachment &out, DecodeContext &context)
{
    using namespace JsonReaders;
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    return readRequired(value, "id"_key, out.id, context)
        && readRequired(value, "kind"_key, out.kind, context)
        && readRequired(value, "title"_key, out.title, context)
        && readRequired(value, "payload"_key, out.payload, context);
}

bool read(const JsonValue &value, QList<HotspotAttachment> &out, DecodeContext &context)
{
    return JsonReaders::readRecordList(value, out, context);
}

std::optional<HotspotAttachment> HotspotAttachment::fromJson(const QByteArray &json, QString *error)
{
    return JsonReaders::decodeStandalone<HotspotAttachment>(json, error);
}
