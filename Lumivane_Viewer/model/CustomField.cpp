#include "CustomField.h"

#include "JsonReaders.h"

bool read(const JsonValue &value, CustomField &out, DecodeContext &context)
{
    using namespace JsonReaders;
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    return readRequired(value, "id"_key, out.id, context)
        && readRequired(value, "name"_key, out.name, context)
        && readRequired(value, "type"_key, out.type, context)
        && readRequired(value, "value"_key, out.value, context);
}

bool read(const JsonValue &value, QList<CustomField> &out, DecodeContext &context)
{
    return JsonReaders::readRecordList(value, out, context);
}

std::optional<CustomField> CustomField::fromJson(const QByteArray &json, QString *error)
{
    return JsonReaders::decodeStandalone<CustomField>(json, error);
}
