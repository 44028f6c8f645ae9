#pragma once

#include "DecodeContext.h"
#include "JsonTree.h"
#include "ModelEnums.h"
#include "Translations.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <optional>
#include <type_traits>

// One reader per value type of project.json. Each returns false after
// recording its failure in the context; none of them throws or crashes on
// unexpected input. The readers of records live beside their records, as
// friends that the templates below find by argument-dependent lookup.
namespace JsonReaders {

constexpr QLatin1StringView operator""_key(const char *text, size_t size)
{
    return QLatin1StringView(text, qsizetype(size));
}

bool read(const JsonValue &value, QString &out, DecodeContext &context);
bool read(const JsonValue &value, qint64 &out, DecodeContext &context);
bool read(const JsonValue &value, double &out, DecodeContext &context);
bool read(const JsonValue &value, bool &out, DecodeContext &context);
bool read(const JsonValue &value, QUuid &out, DecodeContext &context);
bool read(const JsonValue &value, QDateTime &out, DecodeContext &context);
bool read(const JsonValue &value, QByteArray &out, DecodeContext &context);
bool read(const JsonValue &value, QUrl &out, DecodeContext &context);
bool read(const JsonValue &value, QStringList &out, DecodeContext &context);
bool read(const JsonValue &value, Translations &out, DecodeContext &context);
bool read(const JsonValue &value, QMap<QString, QByteArray> &out, DecodeContext &context);

QString typeMismatch(const JsonValue &value, QLatin1StringView expected);

/// Calls readElement on each element of an array under its index, dropping
/// with a warning each element it fails on. firstFailure, when given,
/// receives the failure of the first dropped element.
bool readEachElement(const JsonValue &array, DecodeContext &context, QString *firstFailure,
                     const std::function<bool(const JsonValue &)> &readElement);

template<typename Enum>
    requires std::is_enum_v<Enum>
bool read(const JsonValue &value, Enum &out, DecodeContext &context)
{
    if (!value.isString())
        return context.fail(typeMismatch(value, QLatin1StringView("a string")));
    const std::optional<QByteArrayView> raw = value.rawString();
    const std::optional<Enum> parsed = raw ? fromRawValue<Enum>(QUtf8StringView(raw->data(), raw->size()))
                                           : fromRawValue<Enum>(value.toString());
    if (!parsed)
        return context.fail(QStringLiteral("data corrupted: no such case"));
    out = *parsed;
    return true;
}

/// Lists of records keep their good elements: a malformed element is dropped
/// with a warning naming its key path, so one bad hotspot cannot cost a tour
/// all of its stations.
template<typename Record>
bool readRecordList(const JsonValue &value, QList<Record> &out, DecodeContext &context,
                    QString *firstFailure = nullptr)
{
    if (!value.isArray())
        return context.fail(typeMismatch(value, "an array"_key));
    // No room is set aside from the element count: a short text can hold
    // millions of elements that are no records at all.
    out.clear();
    return readEachElement(value, context, firstFailure, [&](const JsonValue &element) {
        Record record{};
        if (!read(element, record, context))
            return false;
        out.append(std::move(record));
        return true;
    });
}

/// A key that must be present and decodable.
template<typename T>
bool readRequired(const JsonValue &object, QLatin1StringView key, T &out, DecodeContext &context)
{
    DecodeContext::Scope scope(context, key);
    const JsonValue value = object.member(key);
    if (value.isUndefined())
        return context.fail(QStringLiteral("key not found"));
    if (value.isNull())
        return context.fail(QStringLiteral("null where a value is required"));
    return read(value, out, context);
}

/// A key that may be absent or null (leaving out as it is) but that fails
/// the record when present with a value that cannot be decoded.
template<typename T>
bool readIfPresent(const JsonValue &object, QLatin1StringView key, T &out, DecodeContext &context)
{
    DecodeContext::Scope scope(context, key);
    const JsonValue value = object.member(key);
    if (value.isUndefined() || value.isNull())
        return true;
    return read(value, out, context);
}

template<typename T>
bool readOptional(const JsonValue &object, QLatin1StringView key, std::optional<T> &out,
                  DecodeContext &context)
{
    DecodeContext::Scope scope(context, key);
    const JsonValue value = object.member(key);
    if (value.isUndefined() || value.isNull()) {
        out.reset();
        return true;
    }
    T decoded{};
    if (!read(value, decoded, context))
        return false;
    out = std::move(decoded);
    return true;
}

/// A setting: true when a value was present and decoded into out; false
/// when the caller should store the default. Only a fatal failure survives.
template<typename T>
bool readSetting(const JsonValue &object, QLatin1StringView key, T &out, DecodeContext &context)
{
    DecodeContext::Scope scope(context, key);
    const JsonValue value = object.member(key);
    if (value.isUndefined() || value.isNull())
        return false;
    T decoded{};
    if (!read(value, decoded, context)) {
        if (!context.isFatal())
            context.clearFailure();
        return false;
    }
    out = std::move(decoded);
    return true;
}

/// Parses json and runs the reader for T on its top-level value, for the
/// records' own fromJson.
template<typename T>
std::optional<T> decodeStandalone(const QByteArray &json, QString *error)
{
    const std::optional<JsonTree> tree = JsonTree::parse(json, error);
    if (!tree)
        return std::nullopt;
    DecodeContext context;
    T record{};
    if (!read(JsonValue(&*tree, 0), record, context)) {
        if (error)
            *error = context.error();
        return std::nullopt;
    }
    return record;
}

} // namespace JsonReaders
