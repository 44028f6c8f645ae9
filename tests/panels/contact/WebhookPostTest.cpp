#include "panels/contact/WebhookPost.h"
#include "tests/panels/support/LocalHttpServer.h"
#include "tests/panels/support/PanelTestSupport.h"
#include "tests/support/CaseName.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QByteArray kJson = R"({"name":"Ana","message":"a & b"})";

class WebhookPost : public ::testing::Test
{
protected:
    std::optional<WebhookReply> post(const QUrl &url, std::chrono::milliseconds timeout = 10s)
    {
        std::optional<WebhookReply> reply;
        postWebhook(m_network, {url, kJson, timeout}, &m_receiver, [&reply](const WebhookReply &r) { reply = r; });
        if (!QTest::qWaitFor([&] { return reply.has_value(); }, 15000))
            ADD_FAILURE() << "no answer";
        return reply;
    }

    std::optional<QString> failureText(const WebhookReply &reply) { return webhookFailureText(reply, *m_l10n); }

    QNetworkAccessManager m_network;
    QObject m_receiver;
    std::unique_ptr<L10n> m_l10n = panelTestL10n(L10n::Language::english);
};

TEST_F(WebhookPost, SendsTheJsonAsAPlainPost)
{
    LocalHttpServer server({ServerAnswer{}});
    const auto reply = post(server.url());
    ASSERT_TRUE(reply);
    EXPECT_EQ(failureText(*reply), std::nullopt);
    ASSERT_EQ(server.requests().size(), 1);
    const ReceivedRequest &request = server.requests().first();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/hook");
    EXPECT_EQ(request.headers.value("content-type"), "application/json");
    EXPECT_EQ(request.body, kJson);
    EXPECT_FALSE(request.headers.contains("cookie"));
    EXPECT_FALSE(request.headers.contains("authorization"));
}

class WebhookStatus : public WebhookPost, public ::testing::WithParamInterface<int>
{
};

TEST_P(WebhookStatus, CountsOnlyTwoHundredsAsSent)
{
    const int status = GetParam();
    LocalHttpServer server({ServerAnswer{.status = status, .body = "ignored"}});
    const auto reply = post(server.url());
    ASSERT_TRUE(reply);
    const bool sent = status >= 200 && status <= 299;
    EXPECT_EQ(failureText(*reply),
              sent ? std::nullopt : std::optional(QStringLiteral("Server: code %1").arg(status)));
}

INSTANTIATE_TEST_SUITE_P(Statuses, WebhookStatus, ::testing::Values(200, 204, 299, 300, 404, 500));

TEST_F(WebhookPost, ClosedPortReportsTheConnectionError)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    const auto reply = post(QUrl(QStringLiteral("http://127.0.0.1:%1/hook").arg(port)));
    ASSERT_TRUE(reply);
    EXPECT_EQ(failureText(*reply), QStringLiteral("Error: Connection refused"));
}

TEST_F(WebhookPost, EndlessAnswerIsCutOffAndJudgedByItsStatus)
{
    for (const int status : {200, 500}) {
        LocalHttpServer server({ServerAnswer{.status = status, .streamForever = true}});
        const auto reply = post(server.url());
        ASSERT_TRUE(reply);
        EXPECT_EQ(failureText(*reply).has_value(), status == 500);
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.streamingClientLeft(); }, 5000));
        EXPECT_LT(server.streamedBytes(), 8 * kMaxWebhookResponseBytes);
    }
}

TEST_F(WebhookPost, DripFedAnswerEndsAtTheDeadline)
{
    // A byte every 50 ms: no silence is ever long enough to end it.
    LocalHttpServer server({ServerAnswer{.dripEveryMs = 50}});
    QElapsedTimer waited;
    waited.start();
    const auto reply = post(server.url(), 500ms);
    ASSERT_TRUE(reply);
    EXPECT_LT(waited.elapsed(), 5000);
    EXPECT_EQ(reply->httpStatus, 200);
    EXPECT_EQ(failureText(*reply), QStringLiteral("Error: The server did not answer in time."));
}

enum class Target { sameOrigin, otherOrigin };

struct RedirectCase
{
    const char *name;
    int status;
    Target target;
    QByteArray methodThere; // empty: the redirect is refused and nothing goes there
};

class WebhookRedirect : public WebhookPost, public ::testing::WithParamInterface<RedirectCase>
{
};

TEST_P(WebhookRedirect, FollowedWithoutTheBodyOrOnlyToItsOrigin)
{
    const RedirectCase &c = GetParam();
    LocalHttpServer other({ServerAnswer{}});
    const QByteArray location = c.target == Target::sameOrigin ? QByteArray("/moved") : other.url("/moved").toEncoded();
    LocalHttpServer server({ServerAnswer{.status = c.status, .headers = "Location: " + location + "\r\n"}, ServerAnswer{}});
    const auto reply = post(server.url());
    ASSERT_TRUE(reply);
    const QList<ReceivedRequest> &there = c.target == Target::sameOrigin ? server.requests().mid(1) : other.requests();
    if (c.methodThere.isEmpty()) {
        EXPECT_EQ(failureText(*reply), QStringLiteral("Server: code %1").arg(c.status));
        EXPECT_TRUE(there.isEmpty());
        return;
    }
    EXPECT_EQ(failureText(*reply), std::nullopt);
    ASSERT_EQ(there.size(), 1);
    EXPECT_EQ(there[0].method, c.methodThere);
    EXPECT_EQ(there[0].path, "/moved");
    EXPECT_EQ(there[0].body, c.methodThere == "POST" ? kJson : QByteArray());
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, WebhookRedirect,
    ::testing::Values(RedirectCase{"MovedElsewhere", 301, Target::otherOrigin, "GET"},
                      RedirectCase{"FoundElsewhere", 302, Target::otherOrigin, "GET"},
                      RedirectCase{"SeeOtherElsewhere", 303, Target::otherOrigin, "GET"},
                      RedirectCase{"FoundHere", 302, Target::sameOrigin, "GET"},
                      RedirectCase{"TemporaryHere", 307, Target::sameOrigin, "POST"},
                      RedirectCase{"TemporaryElsewhere", 307, Target::otherOrigin, ""},
                      RedirectCase{"PermanentHere", 308, Target::sameOrigin, "POST"},
                      RedirectCase{"PermanentElsewhere", 308, Target::otherOrigin, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(WebhookPost, RedirectToAnotherSchemeIsRefused)
{
    for (const int status : {302, 307}) {
        for (const QByteArray target : {"file:///tmp/lumivane-webhook", "data:text/plain,x", "ftp://127.0.0.1/hook"}) {
            LocalHttpServer server({ServerAnswer{.status = status, .headers = "Location: " + target + "\r\n"}});
            const auto reply = post(server.url());
            ASSERT_TRUE(reply);
            EXPECT_EQ(failureText(*reply), QStringLiteral("Server: code %1").arg(status)) << target.constData();
            EXPECT_EQ(server.requests().size(), 1);
        }
    }
}

TEST_F(WebhookPost, RedirectLoopEndsInAnErrorAfterAFewHops)
{
    LocalHttpServer server({ServerAnswer{.status = 302, .headers = "Location: /hook\r\n"}});
    const auto reply = post(server.url());
    ASSERT_TRUE(reply);
    EXPECT_EQ(failureText(*reply), QStringLiteral("Error: The server redirected the message too many times."));
    EXPECT_EQ(server.requests().size(), kMaxWebhookRedirects + 1);
}

TEST_F(WebhookPost, EveryHopOfAChainGoesWhereItsOwnAnswerSays)
{
    LocalHttpServer last({ServerAnswer{.status = 307, .headers = "Location: /final\r\n"}, ServerAnswer{.status = 204}});
    LocalHttpServer middle({ServerAnswer{.status = 302, .headers = "Location: " + last.url("/from-middle").toEncoded() + "\r\n"}});
    LocalHttpServer first({ServerAnswer{.status = 301, .headers = "Location: " + middle.url("/from-first").toEncoded() + "\r\n"}});
    const auto reply = post(first.url());
    ASSERT_TRUE(reply);
    EXPECT_EQ(failureText(*reply), std::nullopt);
    ASSERT_EQ(middle.requests().size(), 1);
    EXPECT_EQ(middle.requests()[0].path, "/from-first");
    ASSERT_EQ(last.requests().size(), 2);
    EXPECT_EQ(last.requests()[0].path, "/from-middle");
    EXPECT_EQ(last.requests()[1].path, "/final");
    EXPECT_EQ(last.requests()[1].method, "GET");
    EXPECT_EQ(last.requests()[1].body, QByteArray());
}

TEST_F(WebhookPost, FinalStatusAfterARedirectDecides)
{
    LocalHttpServer other({ServerAnswer{.status = 404}});
    LocalHttpServer server({ServerAnswer{.status = 303, .headers = "Location: " + other.url().toEncoded() + "\r\n"}});
    const auto reply = post(server.url());
    ASSERT_TRUE(reply);
    EXPECT_EQ(failureText(*reply), QStringLiteral("Server: code 404"));
}

struct RedirectRuleCase
{
    const char *from;
    const char *to;
    int status;
    bool followed;
};

class WebhookRedirectRule : public ::testing::TestWithParam<RedirectRuleCase>
{
};

TEST_P(WebhookRedirectRule, ByStatusSchemeAndOrigin)
{
    const RedirectRuleCase &c = GetParam();
    EXPECT_EQ(isFollowedWebhookRedirect(QUrl(c.from), QUrl(c.to), c.status), c.followed) << c.from << " " << c.to;
}

constexpr const char *kHook = "http://hooks.example.org/in";

INSTANTIATE_TEST_SUITE_P(
    Table, WebhookRedirectRule,
    ::testing::Values(RedirectRuleCase{kHook, "http://HOOKS.example.org:80/other", 307, true},
                      RedirectRuleCase{kHook, "https://hooks.example.org/in", 308, true},
                      RedirectRuleCase{kHook, "https://hooks.example.org:443/in", 307, true},
                      RedirectRuleCase{kHook, "https://hooks.example.org:8443/in", 307, false},
                      RedirectRuleCase{"http://hooks.example.org:8080/in", "https://hooks.example.org:8080/in", 308, true},
                      RedirectRuleCase{"http://hooks.example.org:8080/in", "https://hooks.example.org/in", 307, false},
                      RedirectRuleCase{kHook, "http://hooks.example.org:8080/in", 307, false},
                      RedirectRuleCase{kHook, "http://hooks.example.org:8080/in", 301, true},
                      RedirectRuleCase{kHook, "https://evil.example.org/in", 308, false},
                      RedirectRuleCase{kHook, "https://hooks.example.org/in", 305, false},
                      RedirectRuleCase{kHook, "file:///etc/passwd", 301, false},
                      RedirectRuleCase{kHook, "http:///in", 302, false},
                      RedirectRuleCase{"https://hooks.example.org/", "http://hooks.example.org/", 307, false}),
    [](const auto &info) {
        return caseName(QStringLiteral("status %1 to %2").arg(info.param.status).arg(QString::fromUtf8(info.param.to)));
    });

TEST_F(WebhookPost, GoneReceiverHearsNothing)
{
    LocalHttpServer server({ServerAnswer{.delayMs = 200}});
    auto receiver = std::make_unique<QObject>();
    bool called = false;
    postWebhook(m_network, {server.url(), kJson, 10s}, receiver.get(), [&called](const WebhookReply &) { called = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 1; }, 5000));
    receiver.reset();
    QTest::qWait(400);
    EXPECT_FALSE(called);
}

} // namespace
