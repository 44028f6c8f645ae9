#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

/// A local HTTP server of map tiles for the tests: every GET of
/// "/{z}/{x}/{y}.png" gets a 256-pixel PNG tile (one colour per tile,
/// cacheable for a day) after `replyDelayMs`. Records each request's path
/// and User-Agent, the most requests it had open at once, and how many it
/// answered or found abandoned when their answer was due.
class TestTileServer final : public QObject
{
public:
    explicit TestTileServer(QObject *parent = nullptr);

    bool listen();
    void stop();
    /// The URL template that points a map at this server.
    QString urlTemplate() const;

    int replyDelayMs = 0;
    QStringList paths;
    QStringList userAgents;
    int openRequests = 0;
    int mostOpenRequests = 0;
    int answeredRequests = 0;
    int abandonedRequests = 0; // the client hung up before the answer

    static QColor tileColour(int z, int x, int y);

private:
    void readRequest(QTcpSocket *socket);
    void reply(QPointer<QTcpSocket> socket, const QString &path);

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_received;
    quint16 m_port = 0;
};
