#include "platform/singleinstance.h"

#include <QLocalSocket>
#include <QLockFile>

namespace {

constexpr int ConnectTimeoutMs = 1000;
const QByteArray ActivateRequest = "activate\n";

} // namespace

SingleInstance::SingleInstance(const QString &socketPath, QObject *parent)
    : QObject(parent), m_socketPath(socketPath)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answerConnection);
}

bool SingleInstance::CheckExist()
{
    // Two starts at the same moment must not both decide they are the first.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    lock.tryLock(ConnectTimeoutMs * 3);

    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (socket.waitForConnected(ConnectTimeoutMs)) {
        socket.write(ActivateRequest);
        socket.waitForBytesWritten(ConnectTimeoutMs);
        socket.disconnectFromServer();
        return true;
    }
    QLocalServer::removeServer(m_socketPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_socketPath))
        qWarning("zorvan: cannot listen on %s: %s", qPrintable(m_socketPath),
                 qPrintable(m_server.errorString()));
    return false;
}

void SingleInstance::answerConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readRequest = [this, socket] {
            if (socket->canReadLine() && socket->readLine() == ActivateRequest)
                emit activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        readRequest();
    }
}
