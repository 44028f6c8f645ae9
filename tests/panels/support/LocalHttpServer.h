#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

/// How the test server answers one request.
struct ServerAnswer
{
    int status = 200;
    QByteArray headers{}; // extra header lines, each ending in "\r\n"
    QByteArray body{};
    int delayMs = 0;
    bool streamForever = false; // a body that never ends
    int dripEveryMs = 0;        // a long body sent one byte at this pace, never finished
    bool neverAnswer = false;
};

/// One request as the server read it.
struct ReceivedRequest
{
    QByteArray method;
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body{};
};

/// A minimal HTTP/1.1 server on 127.0.0.1 for webhook tests: the n-th request
/// gets the n-th answer (the last one repeats).
class LocalHttpServer final : public QObject
{
public:
    explicit LocalHttpServer(QList<ServerAnswer> answers, QObject *parent = nullptr);

    QUrl url(const QString &path = QStringLiteral("/hook")) const;
    const QList<ReceivedRequest> &requests() const { return m_requests; }
    qint64 streamedBytes() const { return m_streamedBytes; }
    bool streamingClientLeft() const { return m_streamingClientLeft; }

private:
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const ServerAnswer &answer);
    void streamTo(QTcpSocket *socket);
    void dripTo(QTcpSocket *socket, int everyMs);

    QTcpServer m_server;
    QList<ServerAnswer> m_answers;
    QList<ReceivedRequest> m_requests;
    QMap<QTcpSocket *, QByteArray> m_pending;
    qint64 m_streamedBytes = 0;
    bool m_streamingClientLeft = false;
};
