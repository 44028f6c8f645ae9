#include "TestTileServer.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>

TestTileServer::TestTileServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool TestTileServer::listen()
{
    // Listening again after stop() uses the same port, so a map keeps its template.
    if (!m_server.listen(QHostAddress::LocalHost, m_port))
        return false;
    m_port = m_server.serverPort();
    return true;
}

void TestTileServer::stop()
{
    m_server.close();
    for (QTcpSocket *socket : m_server.findChildren<QTcpSocket *>())
        socket->abort();
}

QString TestTileServer::urlTemplate() const
{
    return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(m_port);
}

QColor TestTileServer::tileColour(int z, int x, int y)
{
    return QColor::fromHsv((z * 40 + x * 7 + y * 13) % 360, 200, 200).toRgb();
}

void TestTileServer::readRequest(QTcpSocket *socket)
{
    QByteArray &received = m_received[socket];
    received += socket->readAll();
    if (!received.contains("\r\n\r\n"))
        return;
    const QString head = QString::fromLatin1(received);
    m_received.remove(socket);
    const QString path = head.section(QLatin1Char(' '), 1, 1);
    const QRegularExpressionMatch agent =
        QRegularExpression(QStringLiteral("\r\nUser-Agent: ([^\r]*)"), QRegularExpression::CaseInsensitiveOption).match(head);
    paths << path;
    userAgents << agent.captured(1);
    ++openRequests;
    mostOpenRequests = std::max(mostOpenRequests, openRequests);
    QTimer::singleShot(replyDelayMs, this, [this, socket = QPointer<QTcpSocket>(socket), path] { reply(socket, path); });
}

void TestTileServer::reply(QPointer<QTcpSocket> socket, const QString &path)
{
    --openRequests;
    if (!socket || socket->state() != QAbstractSocket::ConnectedState) {
        ++abandonedRequests;
        return;
    }
    ++answeredRequests;
    const QRegularExpressionMatch tile = QRegularExpression(QStringLiteral("^/(\\d+)/(\\d+)/(\\d+)\\.png$")).match(path);
    QByteArray body;
    QByteArray status = "404 Not Found";
    if (tile.hasMatch()) {
        QImage image(256, 256, QImage::Format_RGB32);
        image.fill(tileColour(tile.captured(1).toInt(), tile.captured(2).toInt(), tile.captured(3).toInt()));
        QBuffer buffer(&body);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        status = "200 OK";
    }
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: image/png\r\nCache-Control: max-age=86400\r\n"
                  "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}
