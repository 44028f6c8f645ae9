#pragma once

#include "ModelEnums.h"

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <optional>

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
};
