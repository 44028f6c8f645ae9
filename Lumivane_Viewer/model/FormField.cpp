#include "FormField.h"

#include "JsonReaders.h"

bool read(const JsonValue &value, FormField &out, DecodeContext &context)
{
    using namespace JsonReaders;
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    return readRequired(value, "id"_key, out.id, context)
        && readRequired(value, "label"_key, out.label, context)
        && readRequired(value, "type"_key, out.type, context)
        && readRequired(value, "required"_key, out.required, context)
        && readOptional(value, "placeholder"_key, out.placeholder, context);
}

bool read(const JsonValue &value, QList<FormField> &out, DecodeContext &context)
{
    return JsonReaders::readRecordList(value, out, context);
}

std::optional<FormField> FormField::fromJson(const QByteArray &json, QString *error)
{
    return JsonReaders::decodeStandalone<FormField>(json, error);
}
