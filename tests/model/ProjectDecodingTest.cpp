#include "TourJson.h"

#include "model/LumivaneProject.h"

#include <gtest/gtest.h>

#include <QJsonArray>

namespace {

struct KeyValue
{
    const char *name;
    const char *key;
    QJsonValue value;
};

void PrintTo(const KeyValue &c, std::ostream *os)
{
    *os << c.name;
}

std::optional<LumivaneProject> decodeWith(const char *key, const QJsonValue &value, QString *error = nullptr)
{
    QJsonObject object = TourJson::minimalProject();
    object.insert(QLatin1StringView(key), value);
    return LumivaneProject::fromJson(TourJson::toBytes(object), error);
}

// Dates that fell back to the clock differ between two decodes; equalize them.
void alignDates(LumivaneProject &project, const LumivaneProject &reference)
{
    project.createdAt = reference.createdAt;
    project.updatedAt = reference.updatedAt;
}

TEST(ProjectDecoding, IdAndNameAloneGiveEveryDefault)
{
    const QDateTime before = QDateTime::currentDateTimeUtc();
    const auto p = LumivaneProject::fromJson(TourJson::toBytes(TourJson::minimalProject()));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->id, QUuid(TourJson::uuid(1)));
    EXPECT_EQ(p->name, QStringLiteral("Villa"));
    EXPECT_TRUE(p->stations.isEmpty());
    EXPECT_TRUE(p->customFields.isEmpty());
    EXPECT_TRUE(p->contactFormCustomFields.isEmpty());
    EXPECT_TRUE(p->floorplansByLevel.isEmpty());
    EXPECT_EQ(p->category, LocationCategory::residential);
    EXPECT_EQ(p->renderMode, RenderMode::simple);
    EXPECT_EQ(p->status, ProjectStatus::draft);
    EXPECT_EQ(p->hotspotStyle, HotspotStyle::classic);
    EXPECT_EQ(p->classicTransitionStyle, ClassicTransitionStyle::kenBurns);
    EXPECT_EQ(p->tripodPatchStyle, TripodPatchStyle::logo);
    EXPECT_EQ(p->kioskStationDuration, 15);
    EXPECT_EQ(p->classicPhotoDurationSec, 6);
    EXPECT_EQ(p->locationZoom, 15);
    EXPECT_EQ(p->watermarkOpacity, 0.28);
    EXPECT_EQ(p->tripodPatchSize, 0.18);
    EXPECT_TRUE(p->showFloorplan && p->showHotspotLabels && p->showBrandingInTopbar && p->showLocationMap);
    EXPECT_FALSE(p->kioskEnabled || p->contactFormEnabled || p->feedbackEnabled || p->classicLoopToCover
                 || p->hideTripod);
    EXPECT_GE(p->createdAt, before);
    EXPECT_GE(p->updatedAt, p->createdAt);
    EXPECT_LE(p->updatedAt, QDateTime::currentDateTimeUtc());
    EXPECT_FALSE(p->address || p->area || p->tags || p->transactionType || p->energyClass || p->startingStationID
                 || p->coverLogoData || p->tourPassword || p->floorplanImageData || p->locationLatitude
                 || p->lastPublication || p->storageArea || p->templateID || p->ambientSoundData);
}

TEST(ProjectDecoding, EmptyNameIsKept)
{
    const auto p = decodeWith("name", "");
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->name.isEmpty());
    EXPECT_FALSE(p->name.isNull());
}

class RequiredField : public testing::TestWithParam<KeyValue>
{
};

TEST_P(RequiredField, FailsTheDecoding)
{
    QJsonObject object = TourJson::minimalProject();
    if (GetParam().value.isUndefined())
        object.remove(QLatin1StringView(GetParam().key));
    else
        object.insert(QLatin1StringView(GetParam().key), GetParam().value);
    QString error;
    EXPECT_FALSE(LumivaneProject::fromJson(TourJson::toBytes(object), &error));
    EXPECT_TRUE(error.startsWith(QLatin1StringView(GetParam().key))) << qPrintable(error);
}

INSTANTIATE_TEST_SUITE_P(Cases, RequiredField, testing::Values(
    KeyValue{"noName", "name", QJsonValue(QJsonValue::Undefined)},
    KeyValue{"nullName", "name", QJsonValue(QJsonValue::Null)},
    KeyValue{"numericName", "name", 3},
    KeyValue{"noId", "id", QJsonValue(QJsonValue::Undefined)},
    KeyValue{"idNotUuid", "id", "villa"},
    KeyValue{"bracedId", "id", "{6F9619FF-8B86-D011-B42D-00C04FC964FF}"}));

class DefaultedField : public testing::TestWithParam<KeyValue>
{
};

TEST_P(DefaultedField, FallsBackWithoutError)
{
    const auto reference = LumivaneProject::fromJson(TourJson::toBytes(TourJson::minimalProject()));
    QString error;
    auto p = decodeWith(GetParam().key, GetParam().value, &error);
    ASSERT_TRUE(p) << qPrintable(error);
    alignDates(*p, *reference);
    EXPECT_EQ(*p, *reference);
}

INSTANTIATE_TEST_SUITE_P(Cases, DefaultedField, testing::Values(
    KeyValue{"categoryCapitalised", "category", "Residential"},
    KeyValue{"renderModeUnknown", "renderMode", "cinema"},
    KeyValue{"statusNumber", "status", 3},
    KeyValue{"createdAtFraction", "createdAt", "2026-03-01T10:15:00.5Z"},
    KeyValue{"updatedAtNumber", "updatedAt", 5},
    KeyValue{"showBrandingAsText", "showBrandingInTopbar", "false"},
    KeyValue{"hotspotStyleUnknown", "hotspotStyle", "halo"},
    KeyValue{"showHotspotLabelsZero", "showHotspotLabels", 0},
    KeyValue{"kioskEnabledText", "kioskEnabled", "yes"},
    KeyValue{"kioskDurationText", "kioskStationDuration", "20"},
    KeyValue{"kioskDurationFraction", "kioskStationDuration", 2.5},
    KeyValue{"contactFormEnabledOne", "contactFormEnabled", 1},
    KeyValue{"feedbackEnabledNull", "feedbackEnabled", QJsonValue(QJsonValue::Null)},
    KeyValue{"watermarkOpacityText", "watermarkOpacity", "0.5"},
    KeyValue{"transitionCapitalised", "classicTransitionStyle", "Fade"},
    KeyValue{"photoDurationHuge", "classicPhotoDurationSec", 1e30},
    KeyValue{"loopToCoverText", "classicLoopToCover", "false"},
    KeyValue{"hideTripodOne", "hideTripod", 1},
    KeyValue{"tripodStyleCapitalised", "tripodPatchStyle", "Logo"},
    KeyValue{"tripodSizeBool", "tripodPatchSize", true},
    KeyValue{"floorplanValueNotBase64", "floorplansByLevel", QJsonObject{{"", "TWFu"}, {"RDC", "abc"}}},
    KeyValue{"floorplansNotObject", "floorplansByLevel", "plans"},
    KeyValue{"showFloorplanZero", "showFloorplan", 0},
    KeyValue{"locationZoomText", "locationZoom", "15"},
    KeyValue{"showLocationMapText", "showLocationMap", "yes"},
    KeyValue{"customFieldsNotList", "customFields", "none"},
    KeyValue{"formFieldsNotList", "contactFormCustomFields", QJsonObject{}},
    KeyValue{"stationsNotList", "stations", QJsonObject{}}));

class OptionalField : public testing::TestWithParam<KeyValue>
{
};

TEST_P(OptionalField, MalformedValueFailsTheDecoding)
{
    QString error;
    EXPECT_FALSE(decodeWith(GetParam().key, GetParam().value, &error));
    EXPECT_TRUE(error.startsWith(QLatin1StringView(GetParam().key))) << qPrintable(error);
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionalField, testing::Values(
    KeyValue{"addressNumber", "address", 12},
    KeyValue{"areaText", "area", "120"},
    KeyValue{"capacityFraction", "capacity", 1.5},
    KeyValue{"yearBuiltBeyond64Bits", "yearBuilt", 1e20},
    KeyValue{"tagsHoldingNumber", "tags", QJsonArray{"calme", 3}},
    KeyValue{"tagsNotList", "tags", "calme"},
    KeyValue{"transactionCaseName", "transactionType", "longTermRental"},
    KeyValue{"mandateCaseName", "mandateType", "coExclusive"},
    KeyValue{"energyLowerCase", "energyClass", "a"},
    KeyValue{"greenhouseNumber", "greenhouseClass", 1},
    KeyValue{"parkingText", "hasParking", "true"},
    KeyValue{"startingStationNotUuid", "startingStationID", "first"},
    KeyValue{"appliedProfileBraced", "appliedProfileID", "{6F9619FF-8B86-D011-B42D-00C04FC964FF}"},
    KeyValue{"logoUnpadded", "coverLogoData", "TQ"},
    KeyValue{"logoWithLineBreak", "coverLogoData", "TWFu\nTWFu"},
    KeyValue{"ambientNumber", "ambientSoundData", 3},
    KeyValue{"floorplanImageUrlAlphabet", "floorplanImageData", "-_-_"},
    KeyValue{"accentNumber", "brandingAccentHex", 0xC9A961},
    KeyValue{"latitudeText", "locationLatitude", "48.85"},
    KeyValue{"publicationEmpty", "lastPublication", QJsonObject{}},
    KeyValue{"publicationFraction", "lastPublication",
             QJsonObject{{"url", "https://example.org"}, {"publishedAt", "2026-03-01T10:15:00.5Z"},
                         {"remoteSlug", "villa"}}}));

TEST(ProjectDecoding, PresentValuesAreKeptUnadjusted)
{
    QJsonObject object = TourJson::minimalProject();
    object["renderMode"] = "immersive";
    object["createdAt"] = "2026-03-01T10:15:00Z";
    object["kioskStationDuration"] = -3;
    object["locationZoom"] = 99;
    object["watermarkOpacity"] = 3;
    object["transactionType"] = "long_term_rental";
    object["energyClass"] = "A";
    object["tags"] = QJsonArray{"calme", "lumineux"};
    object["coverLogoData"] = "iVBORw==";
    object["tourPassword"] = "  secret ";
    object["capacity"] = 3.0;
    object["lastPublication"] = TourJson::publication();
    object["someFutureKey"] = QJsonObject{{"nested", true}};
    QString error;
    const auto p = LumivaneProject::fromJson(TourJson::toBytes(object), &error);
    ASSERT_TRUE(p) << qPrintable(error);
    EXPECT_EQ(p->renderMode, RenderMode::immersive);
    EXPECT_EQ(p->createdAt, QDateTime(QDate(2026, 3, 1), QTime(10, 15), Qt::UTC));
    EXPECT_EQ(p->kioskStationDuration, -3);
    EXPECT_EQ(p->locationZoom, 99);
    EXPECT_EQ(p->watermarkOpacity, 3.0);
    EXPECT_EQ(p->transactionType, TransactionType::longTermRental);
    EXPECT_EQ(p->energyClass, EnergyClass::a);
    EXPECT_EQ(p->tags, QStringList({"calme", "lumineux"}));
    EXPECT_EQ(p->coverLogoData, QByteArray::fromBase64("iVBORw=="));
    EXPECT_EQ(p->tourPassword, QStringLiteral("  secret "));
    EXPECT_EQ(p->capacity, 3);
    ASSERT_TRUE(p->lastPublication);
    EXPECT_EQ(p->lastPublication->remoteSlug, QStringLiteral("villa"));
    EXPECT_FALSE(p->lastPublication->serverProfileID);
}

TEST(ProjectDecoding, IntegerExtremesAreExact)
{
    QByteArray json = TourJson::toBytes(TourJson::minimalProject());
    json.chop(1);
    json += R"(,"price":9223372036854775807,"charges":-9223372036854775808})";
    QString error;
    const auto p = LumivaneProject::fromJson(json, &error);
    ASSERT_TRUE(p) << qPrintable(error);
    EXPECT_EQ(p->price, std::numeric_limits<qint64>::max());
    EXPECT_EQ(p->charges, std::numeric_limits<qint64>::min());

    json.replace("9223372036854775807", "9223372036854775808");
    EXPECT_FALSE(LumivaneProject::fromJson(json, &error));
    EXPECT_TRUE(error.startsWith("price")) << qPrintable(error);
}

// The content lists keep their good elements; see the station list tests.
TEST(ProjectStations, OneMalformedStationIsDroppedAlone)
{
    QJsonObject broken = TourJson::station(2);
    broken.remove("photoFilename");
    QJsonObject object = TourJson::minimalProject();
    object["stations"] = QJsonArray{TourJson::station(1), broken, TourJson::station(3)};

    TourJson::WarningCapture warnings;
    QString error;
    const auto p = LumivaneProject::fromJson(TourJson::toBytes(object), &error);
    ASSERT_TRUE(p) << qPrintable(error);
    ASSERT_EQ(p->stations.size(), 2);
    EXPECT_EQ(p->stations[0].name, QStringLiteral("Salon 1"));
    EXPECT_EQ(p->stations[1].name, QStringLiteral("Salon 3"));
    EXPECT_EQ(p->stations[0].hotspots.size(), 2);
    ASSERT_EQ(warnings.messages().size(), 1);
    EXPECT_TRUE(warnings.messages().first().contains("stations[1].photoFilename"))
        << qPrintable(warnings.messages().first());
}

TEST(ProjectStations, MalformedHotspotCostsOnlyThatHotspot)
{
    QJsonObject hotspot = TourJson::hotspot(2);
    hotspot["kind"] = "portal";
    QJsonObject station = TourJson::station(1);
    station["hotspots"] = QJsonArray{TourJson::hotspot(1), hotspot};
    QJsonObject object = TourJson::minimalProject();
    object["stations"] = QJsonArray{station};

    TourJson::WarningCapture warnings;
    const auto p = LumivaneProject::fromJson(TourJson::toBytes(object));
    ASSERT_TRUE(p);
    ASSERT_EQ(p->stations.size(), 1);
    EXPECT_EQ(p->stations[0].hotspots.size(), 1);
    ASSERT_EQ(warnings.messages().size(), 1);
    EXPECT_TRUE(warnings.messages().first().contains("stations[0].hotspots[1].kind"));
}

TEST(ProjectStations, EveryStationMalformedFailsWithThePath)
{
    QJsonObject first = TourJson::station(1);
    first["orderIndex"] = "1";
    QJsonObject second = TourJson::station(2);
    second.remove("id");
    QJsonObject object = TourJson::minimalProject();
    object["stations"] = QJsonArray{first, second};

    TourJson::WarningCapture warnings;
    QString error;
    EXPECT_FALSE(LumivaneProject::fromJson(TourJson::toBytes(object), &error));
    EXPECT_TRUE(error.contains("stations[0].orderIndex")) << qPrintable(error);
    EXPECT_EQ(warnings.messages().size(), 2);
}

TEST(ProjectStations, ManyMalformedElementsAreSummedUpInOneWarning)
{
    QJsonArray stations{TourJson::station(1)};
    for (int i = 0; i < 1000; ++i)
        stations.append(i);
    QJsonObject object = TourJson::minimalProject();
    object["stations"] = stations;

    TourJson::WarningCapture warnings;
    const auto p = LumivaneProject::fromJson(TourJson::toBytes(object));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->stations.size(), 1);
    const QStringList messages = warnings.messages();
    ASSERT_EQ(messages.size(), 11);
    EXPECT_TRUE(messages[9].contains("stations[10]")) << qPrintable(messages[9]);
    EXPECT_TRUE(messages[10].contains("990 further") && messages[10].endsWith("stations"))
        << qPrintable(messages[10]);
}

TEST(ProjectStations, EmptyListIsFine)
{
    QJsonObject object = TourJson::minimalProject();
    object["stations"] = QJsonArray{};
    const auto p = LumivaneProject::fromJson(TourJson::toBytes(object));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->stations.isEmpty());
}

TEST(ProjectFields, MalformedFormAndCustomFieldsAreDroppedAlone)
{
    QJsonObject badForm = TourJson::formField(2);
    badForm["type"] = "select";
    QJsonObject badFact = TourJson::customField(2);
    badFact.remove("value");
    QJsonObject object = TourJson::minimalProject();
    object["contactFormCustomFields"] = QJsonArray{TourJson::formField(1), badForm};
    object["customFields"] = QJsonArray{badFact, TourJson::customField(3)};

    TourJson::WarningCapture warnings;
    const auto p = LumivaneProject::fromJson(TourJson::toBytes(object));
    ASSERT_TRUE(p);
    ASSERT_EQ(p->contactFormCustomFields.size(), 1);
    EXPECT_EQ(p->contactFormCustomFields[0].id, QUuid(TourJson::uuid(501)));
    ASSERT_EQ(p->customFields.size(), 1);
    EXPECT_EQ(p->customFields[0].id, QUuid(TourJson::uuid(403)));
    EXPECT_EQ(warnings.messages().size(), 2);

    object["contactFormCustomFields"] = QJsonArray{badForm};
    const auto allBad = LumivaneProject::fromJson(TourJson::toBytes(object));
    ASSERT_TRUE(allBad);
    EXPECT_TRUE(allBad->contactFormCustomFields.isEmpty());
}

struct FloorplanCase
{
    const char *name;
    bool withLevelPlan;
    bool withSharedPlan;
    bool withSinglePlan;
    std::optional<QString> level;
    std::optional<QByteArray> expected;
};

void PrintTo(const FloorplanCase &c, std::ostream *os)
{
    *os << c.name;
}

class FloorplanLookup : public testing::TestWithParam<FloorplanCase>
{
};

TEST_P(FloorplanLookup, PicksLevelThenSharedThenSingle)
{
    const FloorplanCase &c = GetParam();
    LumivaneProject project;
    if (c.withLevelPlan)
        project.floorplansByLevel.insert("Étage", "A");
    if (c.withSharedPlan)
        project.floorplansByLevel.insert(QString(), "B");
    if (c.withSinglePlan)
        project.floorplanImageData = QByteArray("C");
    EXPECT_EQ(project.floorplanData(c.level), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FloorplanLookup, testing::Values(
    FloorplanCase{"levelPlan", true, true, true, QString("Étage"), QByteArray("A")},
    FloorplanCase{"otherLevelShared", true, true, true, QString("Jardin"), QByteArray("B")},
    FloorplanCase{"noLevelShared", true, true, true, std::nullopt, QByteArray("B")},
    FloorplanCase{"emptyLevelShared", true, true, true, QString(""), QByteArray("B")},
    FloorplanCase{"otherCaseShared", true, true, true, QString("étage"), QByteArray("B")},
    FloorplanCase{"otherLevelSingle", true, false, true, QString("Jardin"), QByteArray("C")},
    FloorplanCase{"otherLevelNothing", true, false, false, QString("Jardin"), std::nullopt},
    FloorplanCase{"emptyMapSingle", false, false, true, QString("Étage"), QByteArray("C")}));

TEST(ProjectEquality, WalksEveryField)
{
    auto a = LumivaneProject::fromJson(TourJson::toBytes(TourJson::minimalProject()));
    auto b = LumivaneProject::fromJson(TourJson::toBytes(TourJson::minimalProject()));
    ASSERT_TRUE(a && b);
    alignDates(*b, *a);
    EXPECT_EQ(*a, *b);
    b->lastPublication = PublicationInfo{};
    EXPECT_NE(*a, *b);
    b->lastPublication.reset();
    b->storageArea = 0.0;
    EXPECT_NE(*a, *b);
}

// Hostile or broken files fail cleanly or decode; they never crash.
class BadInput : public testing::TestWithParam<std::pair<const char *, QByteArray>>
{
};

TEST_P(BadInput, FailsWithAMessage)
{
    QString error;
    EXPECT_FALSE(LumivaneProject::fromJson(GetParam().second, &error));
    EXPECT_FALSE(error.isEmpty());
}

QByteArray withKey(const QByteArray &keyAndValue)
{
    QByteArray json = TourJson::toBytes(TourJson::minimalProject());
    json.chop(1);
    return json + ',' + keyAndValue + '}';
}

INSTANTIATE_TEST_SUITE_P(Cases, BadInput, testing::Values(
    std::make_pair("empty", QByteArray()),
    std::make_pair("notJson", QByteArray("villa")),
    std::make_pair("truncated", QByteArray(R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","na)")),
    std::make_pair("topLevelArray", QByteArray("[]")),
    std::make_pair("topLevelString", QByteArray(R"("villa")")),
    std::make_pair("nonUtf8", withKey("\"address\":\"Caf\xe9\"")),
    std::make_pair("hugeNumber", withKey("\"area\":1e999")),
    std::make_pair("deepNesting", withKey("\"extra\":" + QByteArray(100000, '[') + QByteArray(100000, ']')))),
    [](const auto &info) { return std::string(info.param.first); });

TEST(BadInputDecoded, HugeNumberInASettingFallsBack)
{
    const auto p = LumivaneProject::fromJson(withKey("\"locationZoom\":123456789012345678901234567890"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->locationZoom, 15);
}

TEST(BadInputDecoded, DuplicateKeysDecodeOneOfTheValues)
{
    const auto p = LumivaneProject::fromJson(withKey(R"("renderMode":"classic","renderMode":"immersive")"));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->renderMode == RenderMode::classic || p->renderMode == RenderMode::immersive);
}

TEST(BadInputDecoded, HundredMegabyteBase64Field)
{
    constexpr qsizetype size = 100 * 1024 * 1024;
    QByteArray json = withKey("\"coverLogoData\":\"" + QByteArray(size, 'A') + '"');
    const auto p = LumivaneProject::fromJson(json);
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->coverLogoData);
    EXPECT_EQ(p->coverLogoData->size(), size / 4 * 3);

    // One stray character at the very end still rejects the whole text.
    json[json.size() - 3] = '*';
    QString error;
    EXPECT_FALSE(LumivaneProject::fromJson(json, &error));
    EXPECT_TRUE(error.startsWith("coverLogoData")) << qPrintable(error);
}

} // namespace
