#include "model/ExternalLinks.h"
#include "tests/support/MailtoParts.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

namespace {

struct LinkCase
{
    const char *name;
    const char *text;
    const char *expected; // encoded URL; nullptr: nothing opens
};

void PrintTo(const LinkCase &c, std::ostream *os)
{
    *os << c.name;
}

std::string encoded(const std::optional<QUrl> &url)
{
    return url ? url->toEncoded().toStdString() : std::string("(none)");
}

class WebLink : public testing::TestWithParam<LinkCase>
{
};

TEST_P(WebLink, OpensOnlyAbsoluteWebAddresses)
{
    const LinkCase &c = GetParam();
    EXPECT_EQ(encoded(webLinkURL(QString::fromUtf8(c.text))), c.expected ? c.expected : "(none)");
}

INSTANTIATE_TEST_SUITE_P(Cases, WebLink, testing::Values(
    LinkCase{"bareHost", "example.com", "https://example.com"},
    LinkCase{"bareHostWithPath", "www.example.com/a/b?q=1", "https://www.example.com/a/b?q=1"},
    LinkCase{"httpKept", "http://example.com", "http://example.com"},
    LinkCase{"upperCaseScheme", "HTTPS://Example.com/Page", "https://example.com/Page"},
    LinkCase{"httpPrefixWithoutScheme", "httpbin.org", nullptr},
    LinkCase{"httpPrefixWord", "httpfoo", nullptr},
    // Other schemes only ever become a web page on some host.
    LinkCase{"fileScheme", "file:///etc/passwd", "https://file///etc/passwd"},
    LinkCase{"javascript", "javascript:alert(1)", nullptr},
    LinkCase{"mailtoTypedAsSite", "mailto:a@b.c", "https://mailto:a@b.c"},
    LinkCase{"noHost", "https://", nullptr},
    LinkCase{"schemeWithoutHost", "http:/no-host", nullptr},
    LinkCase{"space", "exa mple.com", nullptr},
    LinkCase{"empty", "", nullptr},
    LinkCase{"unicodeHost", "https://bücher.de", "https://xn--bcher-kva.de"}));

class MailLink : public testing::TestWithParam<LinkCase>
{
};

TEST_P(MailLink, OneAddressAndNothingElse)
{
    const LinkCase &c = GetParam();
    EXPECT_EQ(encoded(mailtoURL(QString::fromUtf8(c.text))), c.expected ? c.expected : "(none)");
}

INSTANTIATE_TEST_SUITE_P(Cases, MailLink, testing::Values(
    LinkCase{"plain", "agence@example.fr", "mailto:agence@example.fr"},
    LinkCase{"plusTag", "a+tours@example.fr", "mailto:a+tours@example.fr"},
    LinkCase{"percentEncoded", "a%20b@example.fr", "mailto:a%2520b@example.fr"},
    LinkCase{"unicode", "élodie@exemple.fr", "mailto:%C3%A9lodie@exemple.fr"},
    LinkCase{"attachArgument", "a@b.c?attach=/etc/passwd", nullptr},
    LinkCase{"addedRecipient", "a@b.c&bcc=x@y.z", nullptr},
    LinkCase{"fragment", "a@b.c#x", nullptr},
    LinkCase{"space", "a @b.c", nullptr},
    LinkCase{"lineBreak", "a@b.c\nBcc: x@y.z", nullptr},
    LinkCase{"nonBreakingSpace", "a@b.c\u00a0", nullptr},
    LinkCase{"control", "a@b.c\x01", nullptr},
    LinkCase{"bidiOverride", "a@b.c\u202e", nullptr},
    LinkCase{"empty", "", nullptr}));

TEST(TelephoneLink, KeepsDigitsAndPlusInOrder)
{
    EXPECT_EQ(telephoneURL(QStringLiteral("+33 (0)1 23.45-67 89")).toString(), QStringLiteral("tel:+330123456789"));
    EXPECT_EQ(telephoneURL(QStringLiteral("appelez-nous")).toString(), QStringLiteral("tel:"));
    // Every Unicode number counts, also outside the basic plane.
    EXPECT_EQ(telephoneURL(QStringLiteral("٠١٢ 𝟙")).toString(), QStringLiteral("tel:٠١٢𝟙"));
}

struct MailUrlCase
{
    const char *what;
    QString recipient;
    bool built;
};

class MailDraft : public ::testing::TestWithParam<MailUrlCase>
{
};

TEST_P(MailDraft, KeepsEveryPartWholeOrRefusesTheRecipient)
{
    const MailUrlCase &c = GetParam();
    const QString subject = QStringLiteral("Tour contact: Villa & Co = #1 100% sûr");
    const QString body = QStringLiteral("a&cc=x@evil.org\nb?c#d/e=f\r\n+ ~*'();:@,$!%20 café 日本");
    const auto url = mailDraftUrl(c.recipient, subject, body);
    ASSERT_EQ(url.has_value(), c.built) << c.what;
    if (!url)
        return;
    const MailtoParts parts = mailtoParts(*url);
    EXPECT_EQ(url->scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(parts.recipient, c.recipient);
    EXPECT_EQ(parts.subject, subject);
    EXPECT_EQ(parts.body, body);
    EXPECT_EQ(parts.headerCount, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MailDraft,
    ::testing::Values(MailUrlCase{"plain", "agence@example.org", true},
                      MailUrlCase{"two recipients", "a@example.org,b@example.org", true},
                      MailUrlCase{"percent and slash", "a%b/c@example.org", true},
                      MailUrlCase{"non-ASCII", "élodie@exemple.fr", true},
                      MailUrlCase{"header injection", "a@b.c?cc=x@evil.org", false},
                      MailUrlCase{"attach injection", "a@b.c&attach=/etc/passwd", false},
                      MailUrlCase{"fragment", "a@b.c#x", false},
                      MailUrlCase{"inner space", "a b@c.d", false},
                      MailUrlCase{"leading space", " a@b.c", false},
                      MailUrlCase{"line break", "a@b.c\nbcc:x", false},
                      MailUrlCase{"control character", QStringLiteral("a@b.c") + QChar(0x7f), false},
                      MailUrlCase{"empty", "", false},
                      MailUrlCase{"megabyte", QString(1 << 20, QLatin1Char('a')) + "@example.org", false}),
    [](const auto &info) { return caseName(info.param.what); });

TEST(MailDraft, SubjectTurnsLineBreaksAndControlsIntoSpacesWhileTheBodyKeepsItsLines)
{
    const QString subject = QStringLiteral("Tour contact: Villa\r\nBcc: x@evil.org\tOcre") + QChar(0x85) + "a"
        + QChar(0x2028) + "b" + QChar(0x2029) + "c" + QChar(0x7f) + QChar(0x01) + QChar(0x9b) + "d";
    const QString body = QStringLiteral("line 1\r\nline 2\n");
    const auto url = mailDraftUrl("agence@example.org", subject, body);
    ASSERT_TRUE(url);
    const MailtoParts parts = mailtoParts(*url);
    EXPECT_EQ(parts.subject, QStringLiteral("Tour contact: Villa  Bcc: x@evil.org Ocre a b c   d"));
    EXPECT_EQ(parts.body, body);
    EXPECT_EQ(parts.headerCount, 2);
}

TEST(MailDraftEncoding, KeepsOnlyTheRfc6068SafeSet)
{
    EXPECT_EQ(mailtoEncoded(QStringLiteral("aZ09-._~!$'()*+,;:@")), QByteArray("aZ09-._~!$'()*+,;:@"));
    EXPECT_EQ(mailtoEncoded(QStringLiteral("&=/?#% \n\"<>[]é")),
              QByteArray("%26%3D%2F%3F%23%25%20%0A%22%3C%3E%5B%5D%C3%A9"));
}

} // namespace
