#include "CustomField.h"

#include "JsonReaders.h"

namespace JsonReaders {

bool read(const QJsonValue &value, CustomField &out, DecodeContext &context)
{
    if (!value.isObject())
        return context.fail(typeMismatch(value, "an object"_key));
    const QJsonObject object = value.toObject();
    return readRequired(object, "id"_key, out.id, context)
        && readRequired(object, "name"_key, out.name, context)
        && readRequired(object, "type"_key, out.type, context)
        && readRequired(object, "value"_key, out.value, context);
}

} // namespace JsonReaders

std::optional<CustomField> CustomField::fromJson(const QJsonValue &value, QString *error)
{
    return JsonReaders::decodeStandalone<CustomField>(value, error);
}
