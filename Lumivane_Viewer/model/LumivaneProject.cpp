#include "LumivaneProject.h"

#include "JsonReaders.h"

namespace {

#define LUMIVANE_COUNT_REQUIRED(Type, name) +1
#define LUMIVANE_COUNT_DEFAULTED(Type, name, initial) +1
#define LUMIVANE_COUNT_OPTIONAL(Type, name) +1
constexpr int fieldCount = 0 LUMIVANE_PROJECT_FIELDS(LUMIVANE_COUNT_REQUIRED, LUMIVANE_COUNT_DEFAULTED,
                                                     LUMIVANE_COUNT_OPTIONAL);
static_assert(fieldCount == 111, "a tour project has 111 fields");

bool decodeFields(const JsonValue &object, LumivaneProject &project, DecodeContext &context)
{
    using namespace JsonReaders;
    // Fields are decoded in declaration order. Only the required and optional
    // ones can end the decoding; a setting that is missing or unusable quietly
    // takes its default, evaluated here so fallen-back dates read the clock now.
#define LUMIVANE_DECODE_REQUIRED(Type, name)                                     \
    if (!readRequired(object, QLatin1StringView(#name), project.name, context)) \
        return false;
#define LUMIVANE_DECODE_DEFAULTED(Type, name, initial)                           \
    if (!readSetting(object, QLatin1StringView(#name), project.name, context)) { \
        if (context.isFatal())                                                   \
            return false;                                                        \
        project.name = Type initial;                                             \
    }
#define LUMIVANE_DECODE_OPTIONAL(Type, name)                                     \
    if (!readOptional(object, QLatin1StringView(#name), project.name, context)) \
        return false;
    LUMIVANE_PROJECT_FIELDS(LUMIVANE_DECODE_REQUIRED, LUMIVANE_DECODE_DEFAULTED, LUMIVANE_DECODE_OPTIONAL)
#undef LUMIVANE_DECODE_REQUIRED
#undef LUMIVANE_DECODE_DEFAULTED
#undef LUMIVANE_DECODE_OPTIONAL
    return true;
}

} // namespace

std::optional<QByteArray> LumivaneProject::floorplanData(const std::optional<QString> &forLevel) const
{
    if (!floorplansByLevel.isEmpty()) {
        const auto exact = floorplansByLevel.constFind(forLevel.value_or(QString()));
        if (exact != floorplansByLevel.constEnd())
            return *exact;
        const auto shared = floorplansByLevel.constFind(QString());
        if (shared != floorplansByLevel.constEnd())
            return *shared;
    }
    return floorplanImageData;
}

std::optional<LumivaneProject> LumivaneProject::fromJson(const QByteArray &json, QString *error)
{
    const auto failWith = [error](const QString &message) -> std::optional<LumivaneProject> {
        if (error)
            *error = message;
        return std::nullopt;
    };

    const std::optional<JsonTree> tree = JsonTree::parse(json, error);
    if (!tree)
        return std::nullopt;
    const JsonValue root(&*tree, 0);
    if (!root.isObject())
        return failWith(QStringLiteral("the top level is not an object"));

    DecodeContext context;
    LumivaneProject project;
    if (!decodeFields(root, project, context))
        return failWith(context.error());
    return project;
}
