#include "Hotspot.h"

#include "JsonReaders.h"

bool read(const JsonValue &value, Hotspot &out, DecodeContext &context)
{
    using namespace JsonReaders;
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    return readRequired(value, "id"_key, out.id, context)
        && readIfPresent(value, "kind"_key, out.kind, context)
        && readRequired(value, "yaw"_key, out.yaw, context)
        && readRequired(value, "pitch"_key, out.pitch, context)
        && readRequired(value, "targetStationID"_key, out.targetStationID, context)
        && readOptional(value, "label"_key, out.label, context)
        && readIfPresent(value, "isPending"_key, out.isPending, context)
        && readOptional(value, "infoTitle"_key, out.infoTitle, context)
        && readOptional(value, "infoDescription"_key, out.infoDescription, context)
        && readIfPresent(value, "attachments"_key, out.attachments, context)
        && readOptional(value, "infoTitleTranslations"_key, out.infoTitleTranslations, context)
        && readOptional(value, "infoDescriptionTranslations"_key, out.infoDescriptionTranslations, context);
}

bool read(const JsonValue &value, QList<Hotspot> &out, DecodeContext &context)
{
    return JsonReaders::readRecordList(value, out, context);
}

std::optional<QString> Hotspot::localizedInfoTitle(const QString &languageCode) const
{
    return localizedText(infoTitleTranslations, languageCode, infoTitle);
}

std::optional<QString> Hotspot::localizedInfoDescription(const QString &languageCode) const
{
    return localizedText(infoDescriptionTranslations, languageCode, infoDescription);
}

std::optional<Hotspot> Hotspot::fromJson(const QByteArray &json, QString *error)
{
    return JsonReaders::decodeStandalone<Hotspot>(json, error);
}
