#include "WebhookPost.h"

#include "l10n/L10n.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

namespace {

std::optional<int> httpStatusOf(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return std::nullopt;
    return status.toInt();
}

bool isRedirectStatus(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QNetworkRequest webhookRequest(const QUrl &url, bool withBody)
{
    QNetworkRequest out(url);
    if (withBody)
        out.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    // Each hop is judged and sent here: Qt 6.4 follows a second redirect of
    // one reply to the first one's address.
    out.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // No cookies and no stored credentials go to an address an author typed.
    out.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    out.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    out.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    return out;
}

WebhookReply replyFacts(const QNetworkReply &reply)
{
    WebhookReply facts;
    facts.httpStatus = httpStatusOf(reply);
    facts.error = reply.error();
    facts.errorString = reply.errorString();
    return facts;
}

/// One POST and the requests its redirects lead to, under one deadline.
/// Lives with the network manager and deletes itself once it has reported.
class WebhookExchange final : public QObject
{
public:
    WebhookExchange(QNetworkAccessManager &network, const WebhookRequest &request, QObject *receiver,
                    std::function<void(const WebhookReply &)> done)
        : QObject(&network)
        , m_network(network)
        , m_json(request.json)
        , m_receiver(receiver)
        , m_done(std::move(done))
    {
        // Qt's own transfer time-out counts only silences: a server sending a
        // byte now and then would hold the form for ever.
        QTimer::singleShot(request.timeout, this, [this] { interrupt(WebhookReply::Interruption::deadline); });
        send(request.url, true);
    }

private:
    void send(const QUrl &url, bool withBody)
    {
        m_url = url;
        m_withBody = withBody;
        m_discardedBytes = 0;
        const QNetworkRequest request = webhookRequest(url, withBody);
        QNetworkReply *reply = withBody ? m_network.post(request, m_json) : m_network.get(request);
        m_reply = reply;
        discardBody(reply);
        connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
    }

    // The body is dropped as it arrives, and a server that keeps sending is
    // cut off rather than held in memory.
    void discardBody(QNetworkReply *reply)
    {
        connect(reply, &QIODevice::readyRead, this, [this, reply] {
            m_discardedBytes += reply->skip(reply->bytesAvailable());
            if (m_discardedBytes > kMaxWebhookResponseBytes)
                reply->abort();
        });
    }

    void onFinished(QNetworkReply *reply)
    {
        reply->deleteLater();
        m_reply = nullptr;
        WebhookReply facts = replyFacts(*reply);
        facts.interruption = m_interruption;
        if (facts.interruption == WebhookReply::Interruption::none) {
            if (const std::optional<QUrl> next = followedRedirect(*reply, facts.httpStatus)) {
                if (++m_redirects <= kMaxWebhookRedirects) {
                    // 307 and 308 ask for the same request again; the others for a GET.
                    send(*next, m_withBody && (*facts.httpStatus == 307 || *facts.httpStatus == 308));
                    return;
                }
                facts.interruption = WebhookReply::Interruption::redirectLoop;
            }
        }
        report(facts);
    }

    // Where a redirect leads, when it is one to follow.
    std::optional<QUrl> followedRedirect(const QNetworkReply &reply, std::optional<int> status) const
    {
        if (!status || !isRedirectStatus(*status) || !reply.hasRawHeader("Location"))
            return std::nullopt;
        const QUrl next = m_url.resolved(QUrl::fromEncoded(reply.rawHeader("Location")));
        if (!isFollowedWebhookRedirect(m_url, next, *status))
            return std::nullopt;
        return next;
    }

    void interrupt(WebhookReply::Interruption why)
    {
        m_interruption = why;
        if (m_reply)
            m_reply->abort();
    }

    void report(const WebhookReply &facts)
    {
        if (m_receiver)
            m_done(facts);
        deleteLater();
    }

    QNetworkAccessManager &m_network;
    const QByteArray m_json;
    QPointer<QObject> m_receiver;
    std::function<void(const WebhookReply &)> m_done;
    QUrl m_url; // the address of the request under way
    bool m_withBody = true; // whether that request is the POST of the message
    QPointer<QNetworkReply> m_reply;
    qint64 m_discardedBytes = 0;
    int m_redirects = 0;
    WebhookReply::Interruption m_interruption = WebhookReply::Interruption::none;
};

bool isSameOrigin(const QUrl &a, const QUrl &b)
{
    const QString scheme = a.scheme().toLower();
    const int defaultPort = scheme == u"https" ? 443 : 80;
    return scheme == b.scheme().toLower() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0
        && a.port(defaultPort) == b.port(defaultPort);
}

} // namespace

std::optional<QString> webhookFailureText(const WebhookReply &reply, const L10n &l10n)
{
    switch (reply.interruption) {
    case WebhookReply::Interruption::deadline:
        return l10n.localizedFormat(L10n::Key::contactErrorPrefix, l10n.text(L10n::Key::contactErrorTimeout));
    case WebhookReply::Interruption::redirectLoop:
        return l10n.localizedFormat(L10n::Key::contactErrorPrefix, l10n.text(L10n::Key::contactErrorRedirectLoop));
    case WebhookReply::Interruption::none:
        break;
    }
    if (reply.httpStatus) {
        if (*reply.httpStatus >= 200 && *reply.httpStatus <= 299)
            return std::nullopt;
        return l10n.localizedFormat(L10n::Key::contactServerCode, *reply.httpStatus);
    }
    return l10n.localizedFormat(L10n::Key::contactErrorPrefix, reply.errorString);
}

bool isFollowedWebhookRedirect(const QUrl &from, const QUrl &to, int status)
{
    const QString toScheme = to.scheme().toLower();
    if (!to.isValid() || (toScheme != u"http" && toScheme != u"https") || to.host().isEmpty())
        return false;
    if (status == 301 || status == 302 || status == 303)
        return true;
    if (status != 307 && status != 308)
        return false;
    // The upgrade keeps the port: http's default becomes https's, another
    // one stays. A different port is a different server.
    const int upgradedPort = from.port(80) == 80 ? 443 : from.port();
    const bool httpsUpgrade = from.scheme().toLower() == u"http" && toScheme == u"https"
        && from.host().compare(to.host(), Qt::CaseInsensitive) == 0 && to.port(443) == upgradedPort;
    return httpsUpgrade || isSameOrigin(from, to);
}

void postWebhook(QNetworkAccessManager &network, const WebhookRequest &request, QObject *receiver,
                 std::function<void(const WebhookReply &)> done)
{
    new WebhookExchange(network, request, receiver, std::move(done));
}
