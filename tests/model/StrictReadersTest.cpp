#include "model/StrictReaders.h"

#include <gtest/gtest.h>

#include <QTimeZone>

namespace {

struct TextCase
{
    const char *text;
    bool accepted;
};

void PrintTo(const TextCase &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class UuidReader : public testing::TestWithParam<TextCase>
{
};

TEST_P(UuidReader, AcceptsOnlyTheCanonicalForm)
{
    EXPECT_EQ(readStrictUuid(QString::fromUtf8(GetParam().text)).has_value(), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Cases, UuidReader, testing::Values(
    TextCase{"6F9619FF-8B86-D011-B42D-00C04FC964FF", true},
    TextCase{"6f9619ff-8b86-d011-b42d-00c04fc964ff", true},
    TextCase{"6f9619FF-8b86-D011-b42d-00C04fc964ff", true},
    TextCase{"00000000-0000-0000-0000-000000000000", true},
    TextCase{"{6F9619FF-8B86-D011-B42D-00C04FC964FF}", false},
    TextCase{"6F9619FF-8B86-D011-B42D-00C04FC964FFjunk", false},
    TextCase{"6F9619FF-8B86-D011-B42D-00C04FC964F", false},
    TextCase{"6F9619FF8B86D011B42D00C04FC964FF", false},
    TextCase{"6F9619FF-8B86-D011-B42D00C04FC964FF-", false},
    TextCase{"6G9619FF-8B86-D011-B42D-00C04FC964FF", false},
    TextCase{" 6F9619FF-8B86-D011-B42D-00C04FC964F", false},
    TextCase{"", false}));

TEST(UuidReaderValue, KeepsTheDigits)
{
    const auto uuid = readStrictUuid(u"6f9619ff-8b86-d011-b42d-00c04fc964ff");
    ASSERT_TRUE(uuid);
    EXPECT_EQ(uuid->toString(QUuid::WithoutBraces), QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
}

class DateReader : public testing::TestWithParam<TextCase>
{
};

TEST_P(DateReader, AcceptsWholeSecondsWithAZone)
{
    EXPECT_EQ(readStrictDate(QString::fromUtf8(GetParam().text)).has_value(), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Cases, DateReader, testing::Values(
    TextCase{"2026-03-01T10:15:00Z", true},
    TextCase{"2026-03-01T11:15:00+01:00", true},
    TextCase{"2026-03-01T05:45:00-04:30", true},
    TextCase{"2024-02-29T00:00:00Z", true},
    TextCase{"2026-03-01T10:15:00.250Z", false},
    TextCase{"2026-03-01T10:15:00", false},
    TextCase{"2026-03-01 10:15:00Z", false},
    TextCase{"2026-03-01T10:15Z", false},
    TextCase{"2026-03-01T10:15:00z", false},
    TextCase{"2026-03-01T10:15:00+0100", false},
    TextCase{"2026-03-01T10:15:00+01", false},
    TextCase{"2026-03-01T10:15:00+24:00", false},
    TextCase{"2025-02-29T10:15:00Z", false},
    TextCase{"2026-13-01T10:15:00Z", false},
    TextCase{"2026-03-01T24:00:00Z", false},
    TextCase{"2026-03-01T10:60:00Z", false},
    TextCase{"2026-03-01T10:15:60Z", false},
    TextCase{"2026-3-01T10:15:00Z", false},
    TextCase{"2026-03-01T10:15:00Z ", false},
    TextCase{"+2026-03-01T10:15:00Z", false},
    TextCase{"", false}));

TEST(DateReaderValue, OffsetsNameTheSameInstant)
{
    const auto utc = readStrictDate(u"2026-03-01T10:15:00Z");
    const auto paris = readStrictDate(u"2026-03-01T11:15:00+01:00");
    const auto west = readStrictDate(u"2026-03-01T05:45:00-04:30");
    ASSERT_TRUE(utc && paris && west);
    EXPECT_EQ(*utc, *paris);
    EXPECT_EQ(*utc, *west);
    EXPECT_EQ(utc->toSecsSinceEpoch(), 1772360100);
}

class Base64Reader : public testing::TestWithParam<TextCase>
{
};

TEST_P(Base64Reader, AcceptsOnlyPaddedStandardAlphabet)
{
    EXPECT_EQ(readStrictBase64(QString::fromUtf8(GetParam().text)).has_value(), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Cases, Base64Reader, testing::Values(
    TextCase{"", true},
    TextCase{"TWFu", true},
    TextCase{"TWE=", true},
    TextCase{"TQ==", true},
    TextCase{"+/+/", true},
    TextCase{"TWE", false},
    TextCase{"TQ", false},
    TextCase{"TQ=", false},
    TextCase{"T===", false},
    TextCase{"====", false},
    TextCase{"TQ==TWFu", false},
    TextCase{"TW=u", false},
    TextCase{"TWFu\n", false},
    TextCase{"TW Fu", false},
    TextCase{"-_-_", false},
    TextCase{"TWFu\xc3\xa9===", false}));

TEST(Base64ReaderValue, DecodesEveryByteValue)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    for (qsizetype length : {qsizetype(0), qsizetype(1), qsizetype(2), qsizetype(3), qsizetype(256)}) {
        const QByteArray original = all.left(length);
        const auto decoded = readStrictBase64(QString::fromLatin1(original.toBase64()));
        ASSERT_TRUE(decoded) << length;
        EXPECT_EQ(*decoded, original) << length;
    }
}

} // namespace
