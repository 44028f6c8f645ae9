#include "Station.h"

#include "JsonReaders.h"

namespace JsonReaders {

bool read(const JsonValue &value, Station &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    return readRequired(value, "id"_key, out.id, context)
        && readRequired(value, "name"_key, out.name, context)
        && readRequired(value, "photoFilename"_key, out.photoFilename, context)
        && readRequired(value, "orderIndex"_key, out.orderIndex, context)
        && readOptional(value, "level"_key, out.level, context)
        && readOptional(value, "captureDate"_key, out.captureDate, context)
        && readOptional(value, "cameraModel"_key, out.cameraModel, context)
        && readOptional(value, "width"_key, out.width, context)
        && readOptional(value, "height"_key, out.height, context)
        && readIfPresent(value, "hotspots"_key, out.hotspots, context)
        && readOptional(value, "internalNote"_key, out.internalNote, context)
        && readOptional(value, "publicCaption"_key, out.publicCaption, context)
        && readOptional(value, "floorplanX"_key, out.floorplanX, context)
        && readOptional(value, "floorplanY"_key, out.floorplanY, context)
        && readOptional(value, "initialYaw"_key, out.initialYaw, context)
        && readOptional(value, "initialPitch"_key, out.initialPitch, context)
        && readOptional(value, "audioCommentFilename"_key, out.audioCommentFilename, context)
        && readOptional(value, "audioCommentTranscription"_key, out.audioCommentTranscription, context)
        && readOptional(value, "nameTranslations"_key, out.nameTranslations, context)
        && readOptional(value, "publicCaptionTranslations"_key, out.publicCaptionTranslations, context)
        && readOptional(value, "audioCommentFilenamesByLang"_key, out.audioCommentFilenamesByLang, context);
}

} // namespace JsonReaders

QString Station::localizedName(const QString &languageCode) const
{
    return *localizedText(nameTranslations, languageCode, name);
}

std::optional<QString> Station::localizedCaption(const QString &languageCode) const
{
    return localizedText(publicCaptionTranslations, languageCode, publicCaption);
}

std::optional<Station> Station::fromJson(const QByteArray &json, QString *error)
{
    return JsonReaders::decodeStandalone<Station>(json, error);
}
