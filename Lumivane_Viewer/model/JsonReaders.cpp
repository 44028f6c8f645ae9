#include "JsonReaders.h"

#include "CustomField.h"
#include "FormField.h"
#include "Hotspot.h"
#include "HotspotAttachment.h"
#include "ModelLogging.h"
#include "Station.h"
#include "StrictReaders.h"

#include <QJsonArray>

namespace JsonReaders {

namespace {

QLatin1StringView jsonTypeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QLatin1StringView("null");
    case QJsonValue::Bool:
        return QLatin1StringView("a boolean");
    case QJsonValue::Double:
        return QLatin1StringView("a number");
    case QJsonValue::String:
        return QLatin1StringView("a string");
    case QJsonValue::Array:
        return QLatin1StringView("an array");
    case QJsonValue::Object:
        return QLatin1StringView("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QLatin1StringView("nothing");
}

bool readString(const QJsonValue &value, QString &out, DecodeContext &context, QLatin1StringView expected)
{
    if (!value.isString())
        return context.fail(typeMismatch(value, expected));
    out = value.toString();
    return true;
}

template<typename Record>
bool readRecordList(const QJsonValue &value, QList<Record> &out, DecodeContext &context,
                    QString *firstFailure = nullptr)
{
    if (!value.isArray())
        return context.fail(typeMismatch(value, QLatin1StringView("an array")));
    const QJsonArray array = value.toArray();
    out.clear();
    out.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        DecodeContext::Scope scope(context, i);
        Record record{};
        if (read(array.at(i), record, context)) {
            out.append(std::move(record));
            continue;
        }
        qCWarning(lcModel).noquote() << "dropped a malformed element:" << context.error();
        if (firstFailure && firstFailure->isNull())
            *firstFailure = context.error();
        context.clearFailure();
    }
    return true;
}

} // namespace

QString typeMismatch(const QJsonValue &value, QLatin1StringView expected)
{
    return QStringLiteral("type mismatch: expected %1, found %2").arg(expected, jsonTypeName(value));
}

bool read(const QJsonValue &value, QString &out, DecodeContext &context)
{
    return readString(value, out, context, QLatin1StringView("a string"));
}

bool read(const QJsonValue &value, qint64 &out, DecodeContext &context)
{
    if (!value.isDouble())
        return context.fail(typeMismatch(value, QLatin1StringView("an integer")));
    // toInteger answers its default unless the number is whole and fits 64 bits;
    // two different defaults tell a real 0 or 1 from a refusal.
    const qint64 integer = value.toInteger(0);
    if (integer == 0 && value.toInteger(1) == 1)
        return context.fail(QStringLiteral("data corrupted: not a whole number that fits 64 bits"));
    out = integer;
    return true;
}

bool read(const QJsonValue &value, double &out, DecodeContext &context)
{
    if (!value.isDouble())
        return context.fail(typeMismatch(value, QLatin1StringView("a number")));
    out = value.toDouble();
    return true;
}

bool read(const QJsonValue &value, bool &out, DecodeContext &context)
{
    if (!value.isBool())
        return context.fail(typeMismatch(value, QLatin1StringView("a boolean")));
    out = value.toBool();
    return true;
}

bool read(const QJsonValue &value, QUuid &out, DecodeContext &context)
{
    QString text;
    if (!readString(value, text, context, QLatin1StringView("a UUID string")))
        return false;
    const std::optional<QUuid> uuid = readStrictUuid(text);
    if (!uuid)
        return context.fail(QStringLiteral("data corrupted: not a canonical UUID"));
    out = *uuid;
    return true;
}

bool read(const QJsonValue &value, QDateTime &out, DecodeContext &context)
{
    QString text;
    if (!readString(value, text, context, QLatin1StringView("a date string")))
        return false;
    std::optional<QDateTime> date = readStrictDate(text);
    if (!date)
        return context.fail(QStringLiteral("data corrupted: not an ISO 8601 date with whole seconds and a zone"));
    out = std::move(*date);
    return true;
}

bool read(const QJsonValue &value, QByteArray &out, DecodeContext &context)
{
    QString text;
    if (!readString(value, text, context, QLatin1StringView("a base64 string")))
        return false;
    std::optional<QByteArray> data = readStrictBase64(text);
    if (!data)
        return context.fail(QStringLiteral("data corrupted: not padded base64"));
    out = std::move(*data);
    return true;
}

bool read(const QJsonValue &value, QUrl &out, DecodeContext &context)
{
    QString text;
    if (!readString(value, text, context, QLatin1StringView("a URL string")))
        return false;
    QUrl url(text);
    if (text.isEmpty() || !url.isValid())
        return context.fail(QStringLiteral("data corrupted: not a URL"));
    out = std::move(url);
    return true;
}

bool read(const QJsonValue &value, QStringList &out, DecodeContext &context)
{
    if (!value.isArray())
        return context.fail(typeMismatch(value, QLatin1StringView("an array")));
    const QJsonArray array = value.toArray();
    out.clear();
    out.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        DecodeContext::Scope scope(context, i);
        QString text;
        if (!read(array.at(i), text, context))
            return false;
        out.append(std::move(text));
    }
    return true;
}

bool read(const QJsonValue &value, Translations &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, QLatin1StringView("an object")));
    const QJsonObject object = value.toObject();
    out.clear();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QJsonValue entry = it.value();
        if (!entry.isString())
            return context.fail(typeMismatch(entry, QLatin1StringView("a string")), it.key());
        out.insert(it.key(), entry.toString());
    }
    return true;
}

bool read(const QJsonValue &value, QMap<QString, QByteArray> &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, QLatin1StringView("an object")));
    const QJsonObject object = value.toObject();
    out.clear();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QJsonValue entry = it.value();
        if (!entry.isString())
            return context.fail(typeMismatch(entry, QLatin1StringView("a base64 string")), it.key());
        std::optional<QByteArray> data = readStrictBase64(entry.toString());
        if (!data)
            return context.fail(QStringLiteral("data corrupted: not padded base64"), it.key());
        out.insert(it.key(), std::move(*data));
    }
    return true;
}

bool read(const QJsonValue &value, QList<HotspotAttachment> &out, DecodeContext &context)
{
    return readRecordList(value, out, context);
}

bool read(const QJsonValue &value, QList<Hotspot> &out, DecodeContext &context)
{
    return readRecordList(value, out, context);
}

bool read(const QJsonValue &value, QList<CustomField> &out, DecodeContext &context)
{
    return readRecordList(value, out, context);
}

bool read(const QJsonValue &value, QList<FormField> &out, DecodeContext &context)
{
    return readRecordList(value, out, context);
}

bool read(const QJsonValue &value, QList<Station> &out, DecodeContext &context)
{
    QString firstFailure;
    if (!readRecordList(value, out, context, &firstFailure))
        return false;
    if (out.isEmpty() && !firstFailure.isNull())
        return context.failFatally(QStringLiteral("every station is malformed; first: ") + firstFailure);
    return true;
}

} // namespace JsonReaders
