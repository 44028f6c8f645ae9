#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

class L10n;
class QNetworkAccessManager;
class QObject;

// The contact form's one network exchange: a JSON POST to the author's
// webhook whose answer counts by its HTTP status alone.

/// A response body is never read; one that grows past this is cut off.
constexpr qint64 kMaxWebhookResponseBytes = 1 << 20;
/// Redirects followed in one exchange; one more ends it in an error.
constexpr int kMaxWebhookRedirects = 5;

/// What became of a POST, as far as the form cares.
struct WebhookReply
{
    /// Status of the last response seen, a redirect not followed included.
    std::optional<int> httpStatus;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QString errorString;
    /// Why the form ended the exchange itself, whatever had come so far.
    enum class Interruption { none, deadline, redirectLoop };
    Interruption interruption = Interruption::none;
};

/// None when the webhook took the message (a status from 200 to 299); else
/// the text the form shows: the time-out or the redirect loop when the form
/// ended the exchange, the server's code for any other status, the
/// transfer's own failure when no status came.
std::optional<QString> webhookFailureText(const WebhookReply &reply, const L10n &l10n);

/// Redirects followed, by their status: 301, 302 and 303 to any http or https
/// address (what follows is a GET without the body); 307 and 308, which send
/// the body again, only to the same origin or from http to https on the same
/// host and port (80 becoming 443). Nothing else, so the body never leaves
/// for another server or scheme.
bool isFollowedWebhookRedirect(const QUrl &from, const QUrl &to, int status);

struct WebhookRequest
{
    QUrl url;
    QByteArray json;
    /// Deadline of the whole exchange, redirects included: a server that
    /// keeps sending a little at a time cannot hold the form past it.
    std::chrono::milliseconds timeout{60000};
};

/// Starts the POST and returns at once. `done` runs on the GUI thread when
/// the exchange ends, unless `receiver` is gone by then; the exchange itself
/// lives with `network`, so it may run to its end after the receiver went.
void postWebhook(QNetworkAccessManager &network, const WebhookRequest &request, QObject *receiver,
                 std::function<void(const WebhookReply &)> done);
