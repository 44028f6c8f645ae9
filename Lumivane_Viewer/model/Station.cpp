#include "Station.h"

#include "JsonReaders.h"

bool read(const JsonValue &value, Station &out, DecodeContext &context)
{
    using namespace JsonReaders;
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

// A non-empty list whose every element is malformed fails fatally: a tour
// that silently opens with no stations helps nobody.
bool read(const JsonValue &value, QList<Station> &out, DecodeContext &context)
{
    QString firstFailure;
    if (!JsonReaders::readRecordList(value, out, context, &firstFailure))
        return false;
    if (out.isEmpty() && !firstFailure.isNull())
        return context.failFatally(QStringLiteral("every station is malformed; first: ") + firstFailure);
    return true;
}

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
