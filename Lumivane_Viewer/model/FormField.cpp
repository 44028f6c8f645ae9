#include "FormField.h"

#include "JsonReaders.h"

namespace JsonReaders {

bool read(const QJsonValue &value, FormField &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    const QJsonObject object = value.toObject();
    return readRequired(object, "id"_key, out.id, context)
        && readRequired(object, "label"_key, out.label, context)
        && readRequired(object, "type"_key, out.type, context)
        && readRequired(object, "required"_key, out.required, context)
        && readOptional(object, "placeholder"_key, out.placeholder, context);
}

} // namespace JsonReaders

std::optional<FormField> FormField::fromJson(const QJsonValue &value, QString *error)
{
    return JsonReaders::decodeStandalone<FormField>(value, error);
}
