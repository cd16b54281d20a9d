#include "platform/singleinstance.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>

namespace {

const QByteArray ActivateRequest = "activate\n";

} // namespace

SingleInstance::SingleInstance(const QString &socketPath, int answerTimeoutMs, QObject *parent)
    : QObject(parent), m_socketPath(socketPath), m_answerTimeoutMs(answerTimeoutMs)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answerConnection);
}

SingleInstance::Outcome SingleInstance::CheckExist()
{
    m_error.clear();
    // A start holds the lock for one connection attempt and one listen, so three answer
    // timeouts are enough for any start that is not stuck.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(3 * m_answerTimeoutMs);
    if (!locked && lock.error() != QLockFile::LockFailedError)
        return refuse(QStringLiteral("cannot create the lock file %1.lock").arg(m_socketPath));

    struct stat status = {};
    if (::lstat(QFile::encodeName(m_socketPath).constData(), &status) != 0) {
        if (errno != ENOENT)
            return refuse(QStringLiteral("cannot examine %1: %2")
                              .arg(m_socketPath, QString::fromLocal8Bit(std::strerror(errno))));
        // Without the lock another start may be listening by now; it alone decides.
        return locked ? listen() : refuse(lockHeld());
    }
    if (!S_ISSOCK(status.st_mode))
        return refuse(
            QStringLiteral("%1 is in the way of the player's socket and is not a socket; remove "
                           "it to start the player")
                .arg(m_socketPath));

    const Outcome asked = askRunningInstance();
    if (asked != Outcome::First)
        return asked;
    if (!locked)
        return refuse(lockHeld());
    // A crashed instance left its socket behind: nothing listens on it any more.
    QLocalServer::removeServer(m_socketPath);
    return listen();
}

// OtherActivated when an instance took the request, First when nothing listens on the
// socket, Refused when something listens but does not take the connection in time.
SingleInstance::Outcome SingleInstance::askRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (socket.waitForConnected(m_answerTimeoutMs)) {
        socket.write(ActivateRequest);
        socket.waitForBytesWritten(m_answerTimeoutMs);
        socket.disconnectFromServer();
        return Outcome::OtherActivated;
    }
    const QLocalSocket::LocalSocketError error = socket.error();
    if (error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError)
        return Outcome::First;
    const QString reason = socket.state() == QLocalSocket::ConnectingState
                               ? QStringLiteral("no answer within %1 ms").arg(m_answerTimeoutMs)
                               : socket.errorString();
    return refuse(
        QStringLiteral("the running player at %1 does not answer: %2").arg(m_socketPath, reason));
}

SingleInstance::Outcome SingleInstance::listen()
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_socketPath))
        return refuse(
            QStringLiteral("cannot listen on %1: %2").arg(m_socketPath, m_server.errorString()));
    return Outcome::First;
}

QString SingleInstance::lockHeld() const
{
    return QStringLiteral("another start holds %1.lock and does not finish").arg(m_socketPath);
}

SingleInstance::Outcome SingleInstance::refuse(const QString &reason)
{
    m_error = reason;
    return Outcome::Refused;
}

void SingleInstance::answerConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        // A request is one short line; a client that sends more is not a start of ours.
        socket->setReadBufferSize(ActivateRequest.size());
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readRequest = [this, socket] {
            if (socket->canReadLine() && socket->readLine() == ActivateRequest)
                emit activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        readRequest();
    }
}
