#include "Hotspot.h"

#include "JsonReaders.h"

namespace JsonReaders {

bool read(const QJsonValue &value, Hotspot &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    const QJsonObject object = value.toObject();
    return readRequired(object, "id"_key, out.id, context)
        && readIfPresent(object, "kind"_key, out.kind, context)
        && readRequired(object, "yaw"_key, out.yaw, context)
        && readRequired(object, "pitch"_key, out.pitch, context)
        && readRequired(object, "targetStationID"_key, out.targetStationID, context)
        && readOptional(object, "label"_key, out.label, context)
        && readIfPresent(object, "isPending"_key, out.isPending, context)
        && readOptional(object, "infoTitle"_key, out.infoTitle, context)
        && readOptional(object, "infoDescription"_key, out.infoDescription, context)
        && readIfPresent(object, "attachments"_key, out.attachments, context)
        && readOptional(object, "infoTitleTranslations"_key, out.infoTitleTranslations, context)
        && readOptional(object, "infoDescriptionTranslations"_key, out.infoDescriptionTranslations, context);
}

} // namespace JsonReaders

std::optional<QString> Hotspot::localizedInfoTitle(const QString &languageCode) const
{
    return localizedText(infoTitleTranslations, languageCode, infoTitle);
}

std::optional<QString> Hotspot::localizedInfoDescription(const QString &languageCode) const
{
    return localizedText(infoDescriptionTranslations, languageCode, infoDescription);
}

std::optional<Hotspot> Hotspot::fromJson(const QJsonValue &value, QString *error)
{
    return JsonReaders::decodeStandalone<Hotspot>(value, error);
}
