#pragma once

#include "ModelEnums.h"

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <optional>

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
};
