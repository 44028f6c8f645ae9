#include "Station.h"

#include "JsonReaders.h"

namespace JsonReaders {

bool read(const QJsonValue &value, Station &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    const QJsonObject object = value.toObject();
    return readRequired(object, "id"_key, out.id, context)
        && readRequired(object, "name"_key, out.name, context)
        && readRequired(object, "photoFilename"_key, out.photoFilename, context)
        && readRequired(object, "orderIndex"_key, out.orderIndex, context)
        && readOptional(object, "level"_key, out.level, context)
        && readOptional(object, "captureDate"_key, out.captureDate, context)
        && readOptional(object, "cameraModel"_key, out.cameraModel, context)
        && readOptional(object, "width"_key, out.width, context)
        && readOptional(object, "height"_key, out.height, context)
        && readIfPresent(object, "hotspots"_key, out.hotspots, context)
        && readOptional(object, "internalNote"_key, out.internalNote, context)
        && readOptional(object, "publicCaption"_key, out.publicCaption, context)
        && readOptional(object, "floorplanX"_key, out.floorplanX, context)
        && readOptional(object, "floorplanY"_key, out.floorplanY, context)
        && readOptional(object, "initialYaw"_key, out.initialYaw, context)
        && readOptional(object, "initialPitch"_key, out.initialPitch, context)
        && readOptional(object, "audioCommentFilename"_key, out.audioCommentFilename, context)
        && readOptional(object, "audioCommentTranscription"_key, out.audioCommentTranscription, context)
        && readOptional(object, "nameTranslations"_key, out.nameTranslations, context)
        && readOptional(object, "publicCaptionTranslations"_key, out.publicCaptionTranslations, context)
        && readOptional(object, "audioCommentFilenamesByLang"_key, out.audioCommentFilenamesByLang, context);
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

std::optional<Station> Station::fromJson(const QJsonValue &value, QString *error)
{
    return JsonReaders::decodeStandalone<Station>(value, error);
}
