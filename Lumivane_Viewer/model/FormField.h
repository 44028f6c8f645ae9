#pragma once

#include "ModelEnums.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

class DecodeContext;
class JsonValue;

/// An extra input of the visitor contact form; the form keeps the visitor's
/// answer per field id and sends it under the label.
struct FormField
{
    QUuid id;
    QString label;
    FormFieldType type = FormFieldType::text;
    bool required = false;
    std::optional<QString> placeholder;

    static std::optional<FormField> fromJson(const QByteArray &json, QString *error = nullptr);

    bool operator==(const FormField &) const = default;

    // Found by argument-dependent lookup from the decoders' templates, and by
    // nothing else. The list keeps its good elements.
    friend bool read(const JsonValue &value, FormField &out, DecodeContext &context);
    friend bool read(const JsonValue &value, QList<FormField> &out, DecodeContext &context);
};
