#include "LocalHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

#include <optional>

namespace {

std::optional<ReceivedRequest> parseRequest(const QByteArray &data)
{
    const qsizetype headerEnd = data.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return std::nullopt;
    const QList<QByteArray> lines = data.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    ReceivedRequest request;
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (data.size() < headerEnd + 4 + length)
        return std::nullopt;
    request.body = data.mid(headerEnd + 4, length);
    return request;
}

QByteArray statusLine(int status)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " Test\r\n";
}

} // namespace

LocalHttpServer::LocalHttpServer(QList<ServerAnswer> answers, QObject *parent)
    : QObject(parent)
    , m_answers(std::move(answers))
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        }
    });
}

QUrl LocalHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LocalHttpServer::readFrom(QTcpSocket *socket)
{
    QByteArray &data = m_pending[socket];
    data += socket->readAll();
    const auto request = parseRequest(data);
    if (!request)
        return;
    data.clear();
    m_requests.append(*request);
    const ServerAnswer next = m_answers.value(std::min(m_requests.size(), m_answers.size()) - 1);
    if (next.neverAnswer)
        return;
    QTimer::singleShot(next.delayMs, socket, [this, socket, next] { answer(socket, next); });
}

void LocalHttpServer::answer(QTcpSocket *socket, const ServerAnswer &answer)
{
    QByteArray head = statusLine(answer.status) + answer.headers;
    if (answer.streamForever) {
        socket->write(head + "Content-Type: application/octet-stream\r\nConnection: close\r\n\r\n");
        streamTo(socket);
        return;
    }
    if (answer.dripEveryMs > 0) {
        socket->write(head + "Content-Length: 1000000\r\n\r\n");
        dripTo(socket, answer.dripEveryMs);
        return;
    }
    head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n\r\n";
    socket->write(head + answer.body);
}

void LocalHttpServer::streamTo(QTcpSocket *socket)
{
    auto *pump = new QTimer(socket);
    connect(socket, &QTcpSocket::disconnected, this, [this] { m_streamingClientLeft = true; });
    connect(pump, &QTimer::timeout, socket, [this, socket] {
        // Keep a little ahead of the client without buffering without end.
        if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > (1 << 20))
            return;
        const QByteArray chunk(64 * 1024, 'x');
        m_streamedBytes += socket->write(chunk);
    });
    pump->start(1);
}

void LocalHttpServer::dripTo(QTcpSocket *socket, int everyMs)
{
    auto *drip = new QTimer(socket);
    connect(drip, &QTimer::timeout, socket, [socket] {
        if (socket->state() == QAbstractSocket::ConnectedState)
            socket->write("x");
    });
    drip->start(everyMs);
}
