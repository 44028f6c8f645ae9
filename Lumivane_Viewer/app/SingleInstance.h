#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

/// Keeps one viewer per user: the first launch listens on a local socket,
/// a later launch hands its open request (a path, or empty to just raise the
/// window) to it and exits. Knows nothing of windows or tours.
class SingleInstance final : public QObject
{
public:
    /// `serverName` is a full socket path or a name Qt places in the
    /// temporary folder.
    explicit SingleInstance(QString serverName, QObject *parent = nullptr);
    ~SingleInstance() override;

    /// The socket for this user: in the user's private runtime folder.
    static QString defaultServerName();

    /// Hands `request` to the running instance. True when it was handed
    /// over; false when none runs (the caller then becomes the first
    /// instance). Blocking; safe to call from any thread.
    static bool forwardToRunning(const QString &serverName, const QString &request, int timeoutMs = 3000);

    /// Starts answering later launches; false when another instance already
    /// answers on the socket, or the socket cannot be made.
    bool listen();

    /// Called on this object's thread for each request a later launch sends.
    std::function<void(const QString &request)> onRequest;

private:
    static bool isAnswering(const QString &serverName);
    void acceptConnections();
    void readRequest(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server = nullptr;
};
