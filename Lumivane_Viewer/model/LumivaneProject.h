#pragma once

#include "CustomField.h"
#include "FormField.h"
#include "LumivaneProjectFields.h"
#include "ModelEnums.h"
#include "PublicationInfo.h"
#include "Station.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

/// Floor-plan image bytes by station level; the empty key holds the plan of
/// stations without a level.
using FloorplanMap = QMap<QString, QByteArray>;

/// One whole tour as a package's project.json carries it. A plain value:
/// decoded once when a package opens and only read afterwards. It knows
/// nothing of files, photos or views.
struct LumivaneProject
{
#define LUMIVANE_PROJECT_MEMBER_REQUIRED(Type, name) Type name;
#define LUMIVANE_PROJECT_MEMBER_DEFAULTED(Type, name, initial) Type name initial;
#define LUMIVANE_PROJECT_MEMBER_OPTIONAL(Type, name) std::optional<Type> name;
    LUMIVANE_PROJECT_FIELDS(LUMIVANE_PROJECT_MEMBER_REQUIRED,
                            LUMIVANE_PROJECT_MEMBER_DEFAULTED,
                            LUMIVANE_PROJECT_MEMBER_OPTIONAL)
#undef LUMIVANE_PROJECT_MEMBER_REQUIRED
#undef LUMIVANE_PROJECT_MEMBER_DEFAULTED
#undef LUMIVANE_PROJECT_MEMBER_OPTIONAL

    /// The floor plan for a station level (no level counts as the empty
    /// text): the plan under that exact level, else the plan under the empty
    /// key, else floorplanImageData. Does not check that the bytes are an image.
    std::optional<QByteArray> floorplanData(const std::optional<QString> &forLevel) const;

    /// Decodes project.json. On failure returns no value and, when error is
    /// given, a short description that starts with the key path.
    static std::optional<LumivaneProject> fromJson(const QByteArray &json, QString *error = nullptr);

    // Compares all 111 fields in declaration order.
    bool operator==(const LumivaneProject &) const = default;
};
