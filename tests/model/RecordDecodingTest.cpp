#include "TourJson.h"

#include "model/CustomField.h"
#include "model/FormField.h"
#include "model/Hotspot.h"
#include "model/HotspotAttachment.h"
#include "model/PublicationInfo.h"
#include "model/Station.h"

#include <gtest/gtest.h>

#include <QJsonArray>

namespace {

enum class Record { attachment, hotspot, station, customField, formField, publication };

// One key of a valid record set to a value (Undefined removes the key).
struct Mutation
{
    const char *name;
    Record record;
    const char *key;
    QJsonValue value;
    bool decodes;
};

void PrintTo(const Mutation &m, std::ostream *os)
{
    *os << m.name;
}

QJsonObject baseRecord(Record record)
{
    switch (record) {
    case Record::attachment:
        return TourJson::attachment();
    case Record::hotspot:
        return TourJson::hotspot();
    case Record::station:
        return TourJson::station();
    case Record::customField:
        return TourJson::customField();
    case Record::formField:
        return TourJson::formField();
    case Record::publication:
        return TourJson::publication();
    }
    return {};
}

bool decode(Record record, const QJsonObject &object, QString *error)
{
    switch (record) {
    case Record::attachment:
        return HotspotAttachment::fromJson(TourJson::toBytes(object), error).has_value();
    case Record::hotspot:
        return Hotspot::fromJson(TourJson::toBytes(object), error).has_value();
    case Record::station:
        return Station::fromJson(TourJson::toBytes(object), error).has_value();
    case Record::customField:
        return CustomField::fromJson(TourJson::toBytes(object), error).has_value();
    case Record::formField:
        return FormField::fromJson(TourJson::toBytes(object), error).has_value();
    case Record::publication:
        return PublicationInfo::fromJson(TourJson::toBytes(object), error).has_value();
    }
    return false;
}

class RecordDecoding : public testing::TestWithParam<Mutation>
{
};

TEST_P(RecordDecoding, FollowsTheFieldRule)
{
    const Mutation &m = GetParam();
    QJsonObject object = baseRecord(m.record);
    if (m.value.isUndefined())
        object.remove(QLatin1StringView(m.key));
    else
        object.insert(QLatin1StringView(m.key), m.value);

    QString error;
    EXPECT_EQ(decode(m.record, object, &error), m.decodes) << qPrintable(error);
    if (!m.decodes) {
        EXPECT_TRUE(error.startsWith(QLatin1StringView(m.key))) << qPrintable(error);
    }
}

const QJsonValue absent(QJsonValue::Undefined);
const QJsonValue null(QJsonValue::Null);

INSTANTIATE_TEST_SUITE_P(Station, RecordDecoding, testing::Values(
    Mutation{"noHotspots", Record::station, "hotspots", absent, true},
    Mutation{"nullHotspots", Record::station, "hotspots", null, true},
    Mutation{"emptyHotspots", Record::station, "hotspots", QJsonArray{}, true},
    Mutation{"hotspotsNotAList", Record::station, "hotspots", "none", false},
    Mutation{"noPhotoFilename", Record::station, "photoFilename", absent, false},
    Mutation{"nullName", Record::station, "name", null, false},
    Mutation{"bracedId", Record::station, "id", "{" + TourJson::uuid(7) + "}", false},
    Mutation{"orderIndexAsText", Record::station, "orderIndex", "3", false},
    Mutation{"orderIndexFraction", Record::station, "orderIndex", 2.5, false},
    Mutation{"orderIndexBeyond64Bits", Record::station, "orderIndex", 1e19, false},
    Mutation{"negativeOrderIndex", Record::station, "orderIndex", -4, true},
    Mutation{"widthAsText", Record::station, "width", "4000", false},
    Mutation{"nullWidth", Record::station, "width", null, true},
    Mutation{"captureDate", Record::station, "captureDate", "2026-03-01T10:15:00Z", true},
    Mutation{"captureDateFraction", Record::station, "captureDate", "2026-03-01T10:15:00.5Z", false},
    Mutation{"levelAsNumber", Record::station, "level", 3, false},
    Mutation{"floorplanXAsText", Record::station, "floorplanX", "0.5", false},
    Mutation{"translationsNotObject", Record::station, "nameTranslations", "en", false},
    Mutation{"translationNotText", Record::station, "nameTranslations", QJsonObject{{"en", 3}}, false},
    Mutation{"unknownKey", Record::station, "colour", "red", true}));

INSTANTIATE_TEST_SUITE_P(Hotspot, RecordDecoding, testing::Values(
    Mutation{"noKind", Record::hotspot, "kind", absent, true},
    Mutation{"nullKind", Record::hotspot, "kind", null, true},
    Mutation{"capitalisedKind", Record::hotspot, "kind", "Info", false},
    Mutation{"numericKind", Record::hotspot, "kind", 1, false},
    Mutation{"noTarget", Record::hotspot, "targetStationID", absent, false},
    Mutation{"noYaw", Record::hotspot, "yaw", absent, false},
    Mutation{"yawAsText", Record::hotspot, "yaw", "1.5", false},
    Mutation{"integerPitch", Record::hotspot, "pitch", 1, true},
    Mutation{"nullPending", Record::hotspot, "isPending", null, true},
    Mutation{"pendingAsText", Record::hotspot, "isPending", "yes", false},
    Mutation{"nullAttachments", Record::hotspot, "attachments", null, true},
    Mutation{"attachmentsNotAList", Record::hotspot, "attachments", QJsonObject{}, false},
    Mutation{"labelAsNumber", Record::hotspot, "label", 2, false}));

INSTANTIATE_TEST_SUITE_P(Attachment, RecordDecoding, testing::Values(
    Mutation{"noTitle", Record::attachment, "title", absent, false},
    Mutation{"emptyTitle", Record::attachment, "title", "", true},
    Mutation{"unknownKind", Record::attachment, "kind", "doc", false},
    Mutation{"linkKind", Record::attachment, "kind", "link", true},
    Mutation{"noPayload", Record::attachment, "payload", absent, false}));

INSTANTIATE_TEST_SUITE_P(CustomField, RecordDecoding, testing::Values(
    Mutation{"noValue", Record::customField, "value", absent, false},
    Mutation{"emptyValue", Record::customField, "value", "", true},
    Mutation{"numericValue", Record::customField, "value", 3, false},
    Mutation{"unknownType", Record::customField, "type", "select", false}));

INSTANTIATE_TEST_SUITE_P(FormField, RecordDecoding, testing::Values(
    Mutation{"noRequired", Record::formField, "required", absent, false},
    Mutation{"requiredAsText", Record::formField, "required", "true", false},
    Mutation{"nullPlaceholder", Record::formField, "placeholder", null, true},
    Mutation{"placeholder", Record::formField, "placeholder", "En euros", true},
    Mutation{"unknownType", Record::formField, "type", "select", false}));

INSTANTIATE_TEST_SUITE_P(Publication, RecordDecoding, testing::Values(
    Mutation{"serverName", Record::publication, "serverName", "Atelier", true},
    Mutation{"serverProfileID", Record::publication, "serverProfileID", TourJson::uuid(9), true},
    Mutation{"badServerProfileID", Record::publication, "serverProfileID", "9", false},
    Mutation{"noRemoteSlug", Record::publication, "remoteSlug", absent, false},
    Mutation{"publishedAtFraction", Record::publication, "publishedAt", "2026-03-01T10:15:00.1Z", false},
    Mutation{"emptyUrl", Record::publication, "url", "", false}));

TEST(HotspotDecoding, AbsentSettingsTakeTheirDefaults)
{
    QJsonObject object = TourJson::hotspot();
    object.remove("kind");
    object.remove("attachments");
    const auto hotspot = Hotspot::fromJson(TourJson::toBytes(object));
    ASSERT_TRUE(hotspot);
    EXPECT_EQ(hotspot->kind, HotspotKind::navigation);
    EXPECT_FALSE(hotspot->isPending);
    EXPECT_TRUE(hotspot->attachments.isEmpty());
    EXPECT_EQ(hotspot->yaw, 1.5);
    EXPECT_EQ(hotspot->pitch, -0.25);
    EXPECT_EQ(hotspot->targetStationID, QUuid(TourJson::uuid(1)));
}

TEST(StationDecoding, MalformedHotspotIsDroppedAloneWithAWarning)
{
    QJsonObject broken = TourJson::hotspot(2);
    broken["kind"] = "Info";
    QJsonObject object = TourJson::station();
    object["hotspots"] = QJsonArray{TourJson::hotspot(1), broken, TourJson::hotspot(3)};

    TourJson::WarningCapture warnings;
    QString error;
    const auto station = Station::fromJson(TourJson::toBytes(object), &error);
    ASSERT_TRUE(station) << qPrintable(error);
    ASSERT_EQ(station->hotspots.size(), 2);
    EXPECT_EQ(station->hotspots[0].id, QUuid(TourJson::uuid(201)));
    EXPECT_EQ(station->hotspots[1].id, QUuid(TourJson::uuid(203)));
    ASSERT_EQ(warnings.messages().size(), 1);
    EXPECT_TRUE(warnings.messages().first().contains("hotspots[1].kind")) << qPrintable(warnings.messages().first());
}

TEST(StationDecoding, MalformedAttachmentIsDroppedAlone)
{
    QJsonObject broken = TourJson::attachment(2);
    broken.remove("title");
    QJsonObject hotspot = TourJson::hotspot();
    hotspot["attachments"] = QJsonArray{TourJson::attachment(1), broken};
    QJsonObject object = TourJson::station();
    object["hotspots"] = QJsonArray{hotspot};

    TourJson::WarningCapture warnings;
    const auto station = Station::fromJson(TourJson::toBytes(object));
    ASSERT_TRUE(station);
    ASSERT_EQ(station->hotspots.size(), 1);
    ASSERT_EQ(station->hotspots[0].attachments.size(), 1);
    EXPECT_EQ(station->hotspots[0].attachments[0].title, QStringLiteral("Plan"));
    ASSERT_EQ(warnings.messages().size(), 1);
    EXPECT_TRUE(warnings.messages().first().contains("hotspots[0].attachments[1].title"));
}

TEST(StationDecoding, ErrorNamesTheKeyPath)
{
    QJsonObject object = TourJson::station();
    object["nameTranslations"] = QJsonObject{{"fr", "Salon"}, {"en", true}};
    QString error;
    EXPECT_FALSE(Station::fromJson(TourJson::toBytes(object), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("nameTranslations[\"en\"]: type mismatch"))) << qPrintable(error);
}

TEST(StationDecoding, NonObjectFails)
{
    QString error;
    EXPECT_FALSE(Station::fromJson("[]", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(RecordEquality, ComparesEveryField)
{
    const auto a = Station::fromJson(TourJson::toBytes(TourJson::station()));
    QJsonObject changed = TourJson::station();
    QJsonObject hotspot = TourJson::hotspot(2);
    hotspot["isPending"] = true;
    changed["hotspots"] = QJsonArray{TourJson::hotspot(1), hotspot};
    const auto b = Station::fromJson(TourJson::toBytes(changed));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *Station::fromJson(TourJson::toBytes(TourJson::station())));
    EXPECT_NE(*a, *b);
}

} // namespace
