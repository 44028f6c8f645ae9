#include "PublicationInfo.h"

#include "JsonReaders.h"

namespace JsonReaders {

bool read(const QJsonValue &value, PublicationInfo &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    const QJsonObject object = value.toObject();
    return readRequired(object, "url"_key, out.url, context)
        && readRequired(object, "publishedAt"_key, out.publishedAt, context)
        && readOptional(object, "serverProfileID"_key, out.serverProfileID, context)
        && readOptional(object, "serverName"_key, out.serverName, context)
        && readRequired(object, "remoteSlug"_key, out.remoteSlug, context);
}

} // namespace JsonReaders

std::optional<PublicationInfo> PublicationInfo::fromJson(const QJsonValue &value, QString *error)
{
    return JsonReaders::decodeStandalone<PublicationInfo>(value, error);
}
