#include "SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// A request is one line of UTF-8.
// A path is far shorter; anything longer is not one of our launches.
constexpr qint64 kLongestRequest = 64 * 1024;

} // namespace

SingleInstance::SingleInstance(QString serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(std::move(serverName))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return QStringLiteral("lumivane-viewer-") + qEnvironmentVariable("USER", QStringLiteral("user"));
    return QDir(runtime).filePath(QStringLiteral("lumivane-viewer.socket"));
}

bool SingleInstance::isAnswering(const QString &serverName)
{
    QLocalSocket probe;
    probe.connectToServer(serverName);
    return probe.waitForConnected(1000);
}

bool SingleInstance::forwardToRunning(const QString &serverName, const QString &request, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Once written, the request waits in the socket until the running
    // instance reads it, also when that one is busy opening a large package.
    socket.write(request.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    // No socket options: with any of them Qt renames its socket into place,
    // silently replacing a running instance's. Without, listening fails
    // while another instance holds the name. The runtime folder is private.
    if (!m_server->listen(m_serverName)) {
        // Another launch may have started listening since this one looked.
        if (isAnswering(m_serverName))
            return false;
        // A socket left by an instance that crashed: nobody answers, so take it over.
        QLocalServer::removeServer(m_serverName);
        if (!m_server->listen(m_serverName))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        // Bytes may have arrived before the connection above was made.
        readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kLongestRequest)
            socket->abort();
        return;
    }
    QByteArray line = socket->readLine(kLongestRequest);
    if (line.endsWith('\n'))
        line.chop(1);
    const QString request = QString::fromUtf8(line);
    socket->disconnectFromServer();
    if (onRequest)
        onRequest(request);
}
