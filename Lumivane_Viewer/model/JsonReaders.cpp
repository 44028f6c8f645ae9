#include "JsonReaders.h"

#include "ModelLogging.h"
#include "StrictReaders.h"

namespace JsonReaders {

namespace {

// Strict text forms read straight from the UTF-8 source when the string has
// no escapes, which spares a conversion of large base64 fields.
template<typename Result, typename Reader>
std::optional<Result> readText(const JsonValue &value, Reader reader)
{
    if (const std::optional<QByteArrayView> raw = value.rawString())
        return reader(*raw);
    const QString text = value.toString();
    return reader(QStringView(text));
}

// Each dropped element is named up to this many times per list; a hostile
// list of millions of bad elements then costs one summary line, not millions.
constexpr int namedDropsPerList = 10;

} // namespace

QString typeMismatch(const JsonValue &value, QLatin1StringView expected)
{
    return QStringLiteral("type mismatch: expected %1, found %2").arg(expected, value.typeName());
}

bool readEachElement(const JsonValue &array, DecodeContext &context, QString *firstFailure,
                     const std::function<bool(const JsonValue &)> &readElement)
{
    qsizetype dropped = 0;
    array.forEachElement([&](qsizetype index, const JsonValue &element) {
        DecodeContext::Scope scope(context, index);
        if (readElement(element))
            return true;
        if (++dropped <= namedDropsPerList)
            qCWarning(lcModel).noquote() << "dropped a malformed element:" << context.error();
        if (firstFailure && firstFailure->isNull())
            *firstFailure = context.error();
        context.clearFailure();
        return true;
    });
    if (dropped > namedDropsPerList)
        qCWarning(lcModel).noquote() << "dropped" << dropped - namedDropsPerList
                                     << "further malformed elements of" << context.path();
    return true;
}

bool read(const JsonValue &value, QString &out, DecodeContext &context)
{
    if (!value.isString())
        return context.fail(typeMismatch(value, "a string"_key));
    out = value.toString();
    return true;
}

bool read(const JsonValue &value, qint64 &out, DecodeContext &context)
{
    if (!value.isNumber())
        return context.fail(typeMismatch(value, "an integer"_key));
    const std::optional<qint64> integer = value.toInteger();
    if (!integer)
        return context.fail(QStringLiteral("data corrupted: not a whole number that fits 64 bits"));
    out = *integer;
    return true;
}

bool read(const JsonValue &value, double &out, DecodeContext &context)
{
    if (!value.isNumber())
        return context.fail(typeMismatch(value, "a number"_key));
    out = value.toDouble();
    return true;
}

bool read(const JsonValue &value, bool &out, DecodeContext &context)
{
    if (!value.isBool())
        return context.fail(typeMismatch(value, "a boolean"_key));
    out = value.toBool();
    return true;
}

bool read(const JsonValue &value, QUuid &out, DecodeContext &context)
{
    if (!value.isString())
        return context.fail(typeMismatch(value, "a UUID string"_key));
    const auto uuid = readText<QUuid>(value, [](auto text) { return readStrictUuid(text); });
    if (!uuid)
        return context.fail(QStringLiteral("data corrupted: not a canonical UUID"));
    out = *uuid;
    return true;
}

bool read(const JsonValue &value, QDateTime &out, DecodeContext &context)
{
    if (!value.isString())
        return context.fail(typeMismatch(value, "a date string"_key));
    auto date = readText<QDateTime>(value, [](auto text) { return readStrictDate(text); });
    if (!date)
        return context.fail(QStringLiteral("data corrupted: not an ISO 8601 date with whole seconds and a zone"));
    out = std::move(*date);
    return true;
}

bool read(const JsonValue &value, QByteArray &out, DecodeContext &context)
{
    if (!value.isString())
        return context.fail(typeMismatch(value, "a base64 string"_key));
    auto data = readText<QByteArray>(value, [](auto text) { return readStrictBase64(text); });
    if (!data)
        return context.fail(QStringLiteral("data corrupted: not padded base64"));
    out = std::move(*data);
    return true;
}

bool read(const JsonValue &value, QUrl &out, DecodeContext &context)
{
    QString text;
    if (!read(value, text, context))
        return false;
    QUrl url(text);
    if (text.isEmpty() || !url.isValid())
        return context.fail(QStringLiteral("data corrupted: not a URL"));
    out = std::move(url);
    return true;
}

bool read(const JsonValue &value, QStringList &out, DecodeContext &context)
{
    if (!value.isArray())
        return context.fail(typeMismatch(value, "an array"_key));
    out.clear();
    out.reserve(value.size());
    return value.forEachElement([&](qsizetype index, const JsonValue &element) {
        DecodeContext::Scope scope(context, index);
        QString text;
        if (!read(element, text, context))
            return false;
        out.append(std::move(text));
        return true;
    });
}

bool read(const JsonValue &value, Translations &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    out.clear();
    return value.forEachMember([&](const QString &key, const JsonValue &entry) {
        if (!entry.isString())
            return context.fail(typeMismatch(entry, "a string"_key), key);
        out.insert(key, entry.toString());
        return true;
    });
}

bool read(const JsonValue &value, QMap<QString, QByteArray> &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    out.clear();
    return value.forEachMember([&](const QString &key, const JsonValue &entry) {
        if (!entry.isString())
            return context.fail(typeMismatch(entry, "a base64 string"_key), key);
        auto data = readText<QByteArray>(entry, [](auto text) { return readStrictBase64(text); });
        if (!data)
            return context.fail(QStringLiteral("data corrupted: not padded base64"), key);
        out.insert(key, std::move(*data));
        return true;
    });
}

} // namespace JsonReaders
