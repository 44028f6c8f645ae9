#include "HotspotAttachment.h"

#include "JsonReaders.h"

namespace JsonReaders {

bool read(const QJsonValue &value, HotspotAttachment &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    const QJsonObject object = value.toObject();
    return readRequired(object, "id"_key, out.id, context)
        && readRequired(object, "kind"_key, out.kind, context)
        && readRequired(object, "title"_key, out.title, context)
        && readRequired(object, "payload"_key, out.payload, context);
}

} // namespace JsonReaders

std::optional<HotspotAttachment> HotspotAttachment::fromJson(const QJsonValue &value, QString *error)
{
    return JsonReaders::decodeStandalone<HotspotAttachment>(value, error);
}
