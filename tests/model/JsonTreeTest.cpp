#include "TourJson.h"

#include "model/JsonTree.h"
#include "model/LumivaneProject.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QRandomGenerator>

namespace {

struct DocumentCase
{
    const char *name;
    QByteArray json;
    bool valid;
};

void PrintTo(const DocumentCase &c, std::ostream *os)
{
    *os << c.name;
}

class JsonSyntax : public testing::TestWithParam<DocumentCase>
{
};

TEST_P(JsonSyntax, FollowsTheGrammar)
{
    QString error;
    EXPECT_EQ(JsonTree::parse(GetParam().json, &error).has_value(), GetParam().valid) << qPrintable(error);
    if (!GetParam().valid) {
        EXPECT_TRUE(error.startsWith("invalid JSON")) << qPrintable(error);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonSyntax, testing::Values(
    DocumentCase{"emptyObject", " { } ", true},
    DocumentCase{"nested", R"({"a":[1,-2.5e3,true,false,null,{"b":"c"}],"d":{}})", true},
    DocumentCase{"scalarTop", "42", true},
    DocumentCase{"escapes", R"(["\"\\\/\b\f\n\r\t\u00e9\ud83d\ude00"])", true},
    DocumentCase{"utf8", "[\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\"]", true},
    DocumentCase{"empty", "", false},
    DocumentCase{"whitespaceOnly", "  ", false},
    DocumentCase{"trailingComma", "[1,]", false},
    DocumentCase{"trailingContent", "{} {}", false},
    DocumentCase{"singleQuotes", "['a']", false},
    DocumentCase{"unquotedKey", "{a:1}", false},
    DocumentCase{"missingColon", R"({"a" 1})", false},
    DocumentCase{"leadingZero", "[01]", false},
    DocumentCase{"bareDot", "[1.]", false},
    DocumentCase{"plusSign", "[+1]", false},
    DocumentCase{"hexNumber", "[0x10]", false},
    DocumentCase{"infinity", "[Infinity]", false},
    DocumentCase{"numberOverflow", "[1e999]", false},
    DocumentCase{"truncatedLiteral", "[tru]", false},
    DocumentCase{"unknownEscape", R"(["\x41"])", false},
    DocumentCase{"shortUnicodeEscape", R"(["\u00e"])", false},
    DocumentCase{"loneHighSurrogate", R"(["\ud83d"])", false},
    DocumentCase{"loneLowSurrogate", R"(["\ude00"])", false},
    DocumentCase{"rawControlCharacter", "[\"a\tb\"]", false},
    DocumentCase{"unterminatedString", "[\"abc", false},
    DocumentCase{"invalidByte", "[\"\xff\"]", false},
    DocumentCase{"overlongSlash", "[\"\xc0\xaf\"]", false},
    DocumentCase{"encodedSurrogate", "[\"\xed\xa0\x80\"]", false},
    DocumentCase{"beyondUnicode", "[\"\xf4\x90\x80\x80\"]", false},
    DocumentCase{"truncatedSequence", "[\"\xe2\x82\"]", false},
    DocumentCase{"unterminatedObject", R"({"a":1)", false},
    DocumentCase{"tooDeep", QByteArray(600, '[') + QByteArray(600, ']'), false},
    DocumentCase{"deepButAllowed", QByteArray(500, '[') + QByteArray(500, ']'), true}));

TEST(JsonValues, StringsNumbersAndMembers)
{
    const auto tree = JsonTree::parse(
        R"({"s":"a\"b\u00e9\ud83d\ude00","p":"plain","i":9223372036854775807,"w":1e3,"f":2.5,"k":1,"k":2})");
    ASSERT_TRUE(tree);
    const JsonValue root(&*tree, 0);
    EXPECT_EQ(root.member(QLatin1StringView("s")).toString(), QString::fromUtf8("a\"b\xc3\xa9\xf0\x9f\x98\x80"));
    EXPECT_FALSE(root.member(QLatin1StringView("s")).rawString());
    EXPECT_EQ(root.member(QLatin1StringView("p")).rawString(), QByteArrayView("plain"));
    EXPECT_EQ(root.member(QLatin1StringView("i")).toInteger(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(root.member(QLatin1StringView("w")).toInteger(), 1000);
    EXPECT_FALSE(root.member(QLatin1StringView("f")).toInteger());
    EXPECT_EQ(root.member(QLatin1StringView("f")).toDouble(), 2.5);
    EXPECT_EQ(root.member(QLatin1StringView("k")).toInteger(), 2);
    EXPECT_TRUE(root.member(QLatin1StringView("absent")).isUndefined());
    EXPECT_TRUE(JsonValue(&*tree, 1).member(QLatin1StringView("s")).isUndefined());
}

// Random damage to a valid project must end in a result or an error, never a crash.
TEST(JsonRobustness, MutatedProjectsNeverCrash)
{
    QJsonObject project = TourJson::minimalProject();
    project["stations"] = QJsonArray{TourJson::station(1), TourJson::station(2)};
    project["coverLogoData"] = "TWFuIGlzIGRpc3Rpbmd1aXNoZWQ=";
    project["createdAt"] = "2026-03-01T10:15:00Z";
    const QByteArray original = TourJson::toBytes(project);

    TourJson::WarningCapture quiet; // dropped elements are expected here
    QRandomGenerator random(7);
    for (int round = 0; round < 3000; ++round) {
        QByteArray json = original;
        const int edits = 1 + random.bounded(4);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(int(json.size()));
            switch (random.bounded(3)) {
            case 0:
                json[at] = char(random.bounded(256));
                break;
            case 1:
                json.remove(at, 1 + random.bounded(8));
                break;
            default:
                json.truncate(at);
                break;
            }
            if (json.isEmpty())
                break;
        }
        QString error;
        const auto decoded = LumivaneProject::fromJson(json, &error);
        EXPECT_TRUE(decoded || !error.isEmpty());
    }
}

// Every prefix of a valid project is cut off somewhere: each must fail with a
// message, whatever token the cut lands in.
TEST(JsonRobustness, EveryTruncationFailsCleanly)
{
    QJsonObject project = TourJson::minimalProject();
    project["stations"] = QJsonArray{TourJson::station(1)};
    project["address"] = QString::fromUtf8("Caf\xc3\xa9 \xf0\x9f\x98\x80 \"quoted\"\n");
    project["area"] = -12.5e-3;
    const QByteArray json = TourJson::toBytes(project);
    for (qsizetype length = 0; length < json.size(); ++length) {
        QString error;
        EXPECT_FALSE(LumivaneProject::fromJson(json.first(length), &error)) << length;
        EXPECT_FALSE(error.isEmpty()) << length;
    }
}

TEST(JsonRobustness, HostileShapesInsideTheProject)
{
    TourJson::WarningCapture quiet;
    const auto withKey = [](const QByteArray &keyAndValue) {
        QByteArray json = TourJson::toBytes(TourJson::minimalProject());
        json.chop(1);
        return json + ',' + keyAndValue + '}';
    };
    // Deeply nested values where records are expected fall back or are dropped.
    const QByteArray deep = QByteArray(400, '[') + QByteArray(400, ']');
    const auto nestedStations = LumivaneProject::fromJson(withKey("\"stations\":{\"a\":" + deep + "}"));
    ASSERT_TRUE(nestedStations);
    EXPECT_TRUE(nestedStations->stations.isEmpty());
    QString error;
    EXPECT_FALSE(LumivaneProject::fromJson(withKey("\"stations\":" + deep), &error));
    EXPECT_TRUE(error.contains("stations[0]")) << qPrintable(error);
    EXPECT_FALSE(LumivaneProject::fromJson(withKey("\"tags\":" + deep)));

    // Escaped key names name the same fields; an escaped NUL stays in the text.
    const auto escaped = LumivaneProject::fromJson(withKey(R"("\u0061ddress":"a\u0000b")"));
    ASSERT_TRUE(escaped);
    EXPECT_EQ(escaped->address, QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));

    // Bytes that are no UTF-8 in a key of their own still reject the text.
    EXPECT_FALSE(LumivaneProject::fromJson(withKey("\"\xc3\":1")));
    // A number with a very long run of digits is read, not overflowed.
    const auto digits = LumivaneProject::fromJson(withKey("\"area\":0." + QByteArray(100000, '1')));
    ASSERT_TRUE(digits);
    EXPECT_NEAR(*digits->area, 0.1111111, 1e-6);
    EXPECT_FALSE(LumivaneProject::fromJson(withKey("\"capacity\":1" + QByteArray(400, '0'))));
}

} // namespace
