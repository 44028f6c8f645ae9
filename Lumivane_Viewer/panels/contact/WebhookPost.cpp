#include "WebhookPost.h"

#include "l10n/L10n.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>

#include <memory>

namespace {

struct ExchangeState
{
    QUrl currentUrl;
    qint64 discardedBytes = 0;
    std::optional<int> refusedRedirectStatus;
};

std::optional<int> httpStatusOf(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return std::nullopt;
    return status.toInt();
}

QNetworkRequest webhookRequest(const WebhookRequest &request)
{
    QNetworkRequest out(request.url);
    out.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    out.setTransferTimeout(int(request.timeout.count()));
    out.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    // No cookies and no stored credentials go to an address an author typed.
    out.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    out.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    out.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    return out;
}

void guardRedirects(QNetworkReply *reply, const std::shared_ptr<ExchangeState> &state)
{
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, state](const QUrl &target) {
        const QUrl next = state->currentUrl.resolved(target);
        if (isFollowedWebhookRedirect(state->currentUrl, next)) {
            state->currentUrl = next;
            emit reply->redirectAllowed();
            return;
        }
        state->refusedRedirectStatus = httpStatusOf(*reply);
        reply->abort();
    });
}

// The body is dropped as it arrives, and a server that keeps sending is cut
// off rather than held in memory.
void discardBody(QNetworkReply *reply, const std::shared_ptr<ExchangeState> &state)
{
    QObject::connect(reply, &QIODevice::readyRead, reply, [reply, state] {
        state->discardedBytes += reply->skip(reply->bytesAvailable());
        if (state->discardedBytes > kMaxWebhookResponseBytes)
            reply->abort();
    });
}

WebhookReply replyFacts(const QNetworkReply &reply, const ExchangeState &state)
{
    WebhookReply facts;
    facts.httpStatus = state.refusedRedirectStatus ? state.refusedRedirectStatus : httpStatusOf(reply);
    facts.error = reply.error();
    facts.errorString = reply.errorString();
    return facts;
}

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
    if (reply.httpStatus) {
        if (*reply.httpStatus >= 200 && *reply.httpStatus <= 299)
            return std::nullopt;
        return l10n.localizedFormat(L10n::Key::contactServerCode, *reply.httpStatus);
    }
    // Without a status only the transfer's time-out cancels a request: the
    // form's own aborts always follow a response's headers.
    const bool timedOut = reply.error == QNetworkReply::TimeoutError
        || reply.error == QNetworkReply::OperationCanceledError;
    const QString description = timedOut ? l10n.text(L10n::Key::contactErrorTimeout) : reply.errorString;
    return l10n.localizedFormat(L10n::Key::contactErrorPrefix, description);
}

bool isFollowedWebhookRedirect(const QUrl &from, const QUrl &to)
{
    const QString toScheme = to.scheme().toLower();
    if (!to.isValid() || (toScheme != u"http" && toScheme != u"https"))
        return false;
    const bool httpsUpgrade = from.scheme().toLower() == u"http" && toScheme == u"https"
        && from.host().compare(to.host(), Qt::CaseInsensitive) == 0;
    return httpsUpgrade || isSameOrigin(from, to);
}

void postWebhook(QNetworkAccessManager &network, const WebhookRequest &request, QObject *receiver,
                 std::function<void(const WebhookReply &)> done)
{
    auto state = std::make_shared<ExchangeState>();
    state->currentUrl = request.url;
    QNetworkReply *reply = network.post(webhookRequest(request), request.json);
    guardRedirects(reply, state);
    discardBody(reply, state);
    QObject::connect(reply, &QNetworkReply::finished, receiver, [reply, state, done = std::move(done)] {
        done(replyFacts(*reply, *state));
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}
