#include "ModelEnums.h"

#define LUMIVANE_ENUM_RAW_CASE(name, raw) \
    case Enum::name:                      \
        return QLatin1StringView(raw);

#define LUMIVANE_ENUM_MATCH(name, raw)      \
    if (QAnyStringView::equal(text, QLatin1StringView(raw)))     \
        return Enum::name;

#define LUMIVANE_DEFINE_MODEL_ENUM(Type, CASES)                     \
    QLatin1StringView rawValue(Type value)                          \
    {                                                               \
        using Enum = Type;                                          \
        switch (value) {                                            \
            CASES(LUMIVANE_ENUM_RAW_CASE)                           \
        }                                                           \
        return {};                                                  \
    }                                                               \
    template<>                                                      \
    std::optional<Type> fromRawValue<Type>(QAnyStringView text)        \
    {                                                               \
        using Enum = Type;                                          \
        CASES(LUMIVANE_ENUM_MATCH)                                  \
        return std::nullopt;                                        \
    }

LUMIVANE_MODEL_ENUMS(LUMIVANE_DEFINE_MODEL_ENUM)
