#include "FormField.h"

#include "JsonReaders.h"

namespace JsonReaders {

bool read(const JsonValue &value, FormField &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    return readRequired(value, "id"_key, out.id, context)
        && readRequired(value, "label"_key, out.label, context)
        && readRequired(value, "type"_key, out.type, context)
        && readRequired(value, "required"_key, out.required, context)
        && readOptional(value, "placeholder"_key, out.placeholder, context);
}

} // namespace JsonReaders

std::optional<FormField> FormField::fromJson(const QByteArray &json, QString *error)
{
    return JsonReaders::decodeStandalone<FormField>(json, error);
}
