#include "model/ModelEnums.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

template<typename Enum>
void expectRoundTrip(std::initializer_list<Enum> cases, std::initializer_list<const char *> raws)
{
    ASSERT_EQ(cases.size(), raws.size());
    auto raw = raws.begin();
    int index = 0;
    for (Enum value : cases) {
        EXPECT_EQ(static_cast<int>(value), index++) << "declaration order";
        EXPECT_EQ(rawValue(value), QLatin1StringView(*raw));
        EXPECT_EQ(fromRawValue<Enum>(QString::fromLatin1(*raw)), value);
        ++raw;
    }
}

TEST(ModelEnums, RawValuesRoundTripInDeclarationOrder)
{
    expectRoundTrip({HotspotKind::navigation, HotspotKind::info}, {"navigation", "info"});
    expectRoundTrip({AttachmentKind::pdf, AttachmentKind::image, AttachmentKind::video, AttachmentKind::sound,
                     AttachmentKind::text, AttachmentKind::link},
                    {"pdf", "image", "video", "sound", "text", "link"});
    expectRoundTrip({CustomFieldType::text, CustomFieldType::number, CustomFieldType::boolean},
                    {"text", "number", "boolean"});
    expectRoundTrip({FormFieldType::text, FormFieldType::textarea, FormFieldType::email, FormFieldType::phone,
                     FormFieldType::number, FormFieldType::checkbox},
                    {"text", "textarea", "email", "phone", "number", "checkbox"});
    expectRoundTrip({LocationCategory::residential, LocationCategory::office, LocationCategory::culture,
                     LocationCategory::education, LocationCategory::hospitality, LocationCategory::event,
                     LocationCategory::tourism, LocationCategory::health, LocationCategory::sport,
                     LocationCategory::retail, LocationCategory::other},
                    {"residential", "office", "culture", "education", "hospitality", "event", "tourism",
                     "health", "sport", "retail", "other"});
    expectRoundTrip({RenderMode::classic, RenderMode::simple, RenderMode::immersive},
                    {"classic", "simple", "immersive"});
    expectRoundTrip({ProjectStatus::draft, ProjectStatus::importing, ProjectStatus::processing,
                     ProjectStatus::ready, ProjectStatus::failed},
                    {"draft", "importing", "processing", "ready", "failed"});
    expectRoundTrip({TransactionType::sale, TransactionType::longTermRental, TransactionType::seasonalRental},
                    {"sale", "long_term_rental", "seasonal_rental"});
    expectRoundTrip({MandateType::exclusive, MandateType::simple, MandateType::coExclusive},
                    {"exclusive", "simple", "co_exclusive"});
    expectRoundTrip({EnergyClass::a, EnergyClass::b, EnergyClass::c, EnergyClass::d, EnergyClass::e,
                     EnergyClass::f, EnergyClass::g},
                    {"A", "B", "C", "D", "E", "F", "G"});
    expectRoundTrip({HotspotStyle::classic, HotspotStyle::haloRipple}, {"classic", "haloRipple"});
    expectRoundTrip({ClassicTransitionStyle::kenBurns, ClassicTransitionStyle::fade,
                     ClassicTransitionStyle::slide},
                    {"kenBurns", "fade", "slide"});
    expectRoundTrip({TripodPatchStyle::logo, TripodPatchStyle::ghost, TripodPatchStyle::dark,
                     TripodPatchStyle::blur},
                    {"logo", "ghost", "dark", "blur"});
}

TEST(ModelEnums, TextIsMatchedExactly)
{
    EXPECT_FALSE(fromRawValue<LocationCategory>(u"Residential"));
    EXPECT_FALSE(fromRawValue<LocationCategory>(u" residential"));
    EXPECT_FALSE(fromRawValue<LocationCategory>(u"residential "));
    EXPECT_FALSE(fromRawValue<TransactionType>(u"longTermRental"));
    EXPECT_FALSE(fromRawValue<MandateType>(u"coExclusive"));
    EXPECT_FALSE(fromRawValue<EnergyClass>(u"a"));
    EXPECT_FALSE(fromRawValue<HotspotKind>(u"Info"));
    EXPECT_FALSE(fromRawValue<HotspotKind>(u""));
}

} // namespace
