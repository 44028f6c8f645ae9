#include "PublicationInfo.h"

#include "JsonReaders.h"

bool read(const JsonValue &value, PublicationInfo &out, DecodeContext &context)
{
    using namespace JsonReaders;
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    return readRequired(value, "url"_key, out.url, context)
        && readRequired(value, "publishedAt"_key, out.publishedAt, context)
        && readOptional(value, "serverProfileID"_key, out.serverProfileID, context)
        && readOptional(value, "serverName"_key, out.serverName, context)
        && readRequired(value, "remoteSlug"_key, out.remoteSlug, context);
}

std::optional<PublicationInfo> PublicationInfo::fromJson(const QByteArray &json, QString *error)
{
    return JsonReaders::decodeStandalone<PublicationInfo>(json, error);
}
