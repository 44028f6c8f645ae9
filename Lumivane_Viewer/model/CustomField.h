#pragma once

#include "ModelEnums.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

class DecodeContext;
class JsonValue;

/// An author-defined fact about the place, listed by the information panel.
/// The value is always text; for a boolean field only "true" means yes.
struct CustomField
{
    QUuid id;
    QString name;
    CustomFieldType type = CustomFieldType::text;
    QString value;

    static std::optional<CustomField> fromJson(const QByteArray &json, QString *error = nullptr);

    bool operator==(const CustomField &) const = default;

    // Found by argument-dependent lookup from the decoders' templates, and by
    // nothing else. The list keeps its good elements.
    friend bool read(const JsonValue &value, CustomField &out, DecodeContext &context);
    friend bool read(const JsonValue &value, QList<CustomField> &out, DecodeContext &context);
};
