#pragma once

#include <QLatin1StringView>
#include <QAnyStringView>

#include <optional>

// Every closed choice of a tour record. Each case carries the exact text that
// project.json uses for it; the declaration order is significant, because
// display texts are picked by a case's position.

/// Reads a case from its raw text: exact, case-sensitive, untrimmed.
template<typename Enum>
std::optional<Enum> fromRawValue(QAnyStringView text);

#define LUMIVANE_ENUM_CASE(name, raw) name,

#define LUMIVANE_DECLARE_MODEL_ENUM(Type, CASES)                   \
    enum class Type { CASES(LUMIVANE_ENUM_CASE) };                  \
    QLatin1StringView rawValue(Type value);                         \
    template<>                                                      \
    std::optional<Type> fromRawValue<Type>(QAnyStringView text);

#define LUMIVANE_HOTSPOT_KIND(C) C(navigation, "navigation") C(info, "info")

#define LUMIVANE_ATTACHMENT_KIND(C) \
    C(pdf, "pdf") C(image, "image") C(video, "video") C(sound, "sound") C(text, "text") C(link, "link")

#define LUMIVANE_CUSTOM_FIELD_TYPE(C) C(text, "text") C(number, "number") C(boolean, "boolean")

#define LUMIVANE_FORM_FIELD_TYPE(C) \
    C(text, "text") C(textarea, "textarea") C(email, "email") C(phone, "phone") C(number, "number") \
    C(checkbox, "checkbox")

#define LUMIVANE_LOCATION_CATEGORY(C)                                                                \
    C(residential, "residential") C(office, "office") C(culture, "culture") C(education, "education") \
    C(hospitality, "hospitality") C(event, "event") C(tourism, "tourism") C(health, "health")         \
    C(sport, "sport") C(retail, "retail") C(other, "other")

#define LUMIVANE_RENDER_MODE(C) C(classic, "classic") C(simple, "simple") C(immersive, "immersive")

#define LUMIVANE_PROJECT_STATUS(C) \
    C(draft, "draft") C(importing, "importing") C(processing, "processing") C(ready, "ready") C(failed, "failed")

#define LUMIVANE_TRANSACTION_TYPE(C) \
    C(sale, "sale") C(longTermRental, "long_term_rental") C(seasonalRental, "seasonal_rental")

#define LUMIVANE_MANDATE_TYPE(C) C(exclusive, "exclusive") C(simple, "simple") C(coExclusive, "co_exclusive")

#define LUMIVANE_ENERGY_CLASS(C) \
    C(a, "A") C(b, "B") C(c, "C") C(d, "D") C(e, "E") C(f, "F") C(g, "G")

#define LUMIVANE_HOTSPOT_STYLE(C) C(classic, "classic") C(haloRipple, "haloRipple")

#define LUMIVANE_CLASSIC_TRANSITION_STYLE(C) C(kenBurns, "kenBurns") C(fade, "fade") C(slide, "slide")

#define LUMIVANE_TRIPOD_PATCH_STYLE(C) C(logo, "logo") C(ghost, "ghost") C(dark, "dark") C(blur, "blur")

// One list drives the declarations here and the conversions in the .cpp.
#define LUMIVANE_MODEL_ENUMS(X)                                   \
    X(HotspotKind, LUMIVANE_HOTSPOT_KIND)                         \
    X(AttachmentKind, LUMIVANE_ATTACHMENT_KIND)                   \
    X(CustomFieldType, LUMIVANE_CUSTOM_FIELD_TYPE)                \
    X(FormFieldType, LUMIVANE_FORM_FIELD_TYPE)                    \
    X(LocationCategory, LUMIVANE_LOCATION_CATEGORY)               \
    X(RenderMode, LUMIVANE_RENDER_MODE)                           \
    X(ProjectStatus, LUMIVANE_PROJECT_STATUS)                     \
    X(TransactionType, LUMIVANE_TRANSACTION_TYPE)                 \
    X(MandateType, LUMIVANE_MANDATE_TYPE)                         \
    X(EnergyClass, LUMIVANE_ENERGY_CLASS)                         \
    X(HotspotStyle, LUMIVANE_HOTSPOT_STYLE)                       \
    X(ClassicTransitionStyle, LUMIVANE_CLASSIC_TRANSITION_STYLE)  \
    X(TripodPatchStyle, LUMIVANE_TRIPOD_PATCH_STYLE)

LUMIVANE_MODEL_ENUMS(LUMIVANE_DECLARE_MODEL_ENUM)
