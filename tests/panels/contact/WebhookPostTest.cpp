#include "panels/contact/WebhookPost.h"
#include "tests/panels/support/LocalHttpServer.h"
#include "tests/panels/support/PanelTestSupport.h"

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

TEST_F(WebhookPost, FollowsOnlySameOriginRedirects)
{
    LocalHttpServer elsewhere({ServerAnswer{}});
    LocalHttpServer server({ServerAnswer{.status = 307, .headers = "Location: /moved\r\n"}, ServerAnswer{}});
    auto reply = post(server.url());
    ASSERT_TRUE(reply);
    EXPECT_EQ(failureText(*reply), std::nullopt);
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests()[1].path, "/moved");
    EXPECT_EQ(server.requests()[1].body, kJson);

    for (const QByteArray &target : {QByteArray("file:///tmp/lumivane-webhook"), elsewhere.url().toEncoded(),
                                     QByteArray("data:text/plain,x")}) {
        LocalHttpServer redirecting({ServerAnswer{.status = 307, .headers = "Location: " + target + "\r\n"}});
        reply = post(redirecting.url());
        ASSERT_TRUE(reply);
        EXPECT_EQ(failureText(*reply), QStringLiteral("Server: code 307")) << target.constData();
        EXPECT_EQ(redirecting.requests().size(), 1);
    }
    EXPECT_TRUE(elsewhere.requests().isEmpty());
}

TEST(WebhookRedirectRule, AllowsSameOriginAndHttpsUpgradeOnly)
{
    const QUrl from(QStringLiteral("http://hooks.example.org/in"));
    EXPECT_TRUE(isFollowedWebhookRedirect(from, QUrl("http://HOOKS.example.org:80/other")));
    EXPECT_TRUE(isFollowedWebhookRedirect(from, QUrl("https://hooks.example.org/in")));
    EXPECT_FALSE(isFollowedWebhookRedirect(from, QUrl("http://hooks.example.org:8080/in")));
    EXPECT_FALSE(isFollowedWebhookRedirect(from, QUrl("https://evil.example.org/in")));
    EXPECT_FALSE(isFollowedWebhookRedirect(QUrl("https://hooks.example.org/"), QUrl("http://hooks.example.org/")));
    EXPECT_FALSE(isFollowedWebhookRedirect(from, QUrl("file:///etc/passwd")));
}

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
