#include "platform/singleinstance.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include <memory>
#include <utility>

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include "platform/instancerequest.h"

namespace {

// How much of a connection's bytes Qt buffers before they are taken out and checked.
constexpr qint64 ReadChunkBytes = 64 * 1024;

} // namespace

// What one connection has sent since its last whole request.
struct SingleInstance::Incoming
{
    QByteArray received;
    // Its first open request has been acted on: the next ones only add songs.
    bool opened = false;
    // Closes the connection when its next request does not come whole in time.
    QTimer *deadline = nullptr;
};

SingleInstance::SingleInstance(const QString &socketPath, int answerTimeoutMs, QObject *parent)
    : QObject(parent), m_socketPath(socketPath), m_answerTimeoutMs(answerTimeoutMs)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answerConnection);
}

SingleInstance::Outcome SingleInstance::CheckExist(const CommandLineSongs &songs)
{
    m_error.clear();
    QByteArray request = InstanceRequest::activation();
    QString unsent;
    if (!songs.isEmpty()) {
        if (const std::optional<QByteArray> open = InstanceRequest::open(songs))
            request = *open;
        else
            unsent = QStringLiteral("a song longer than %1 bytes cannot be handed to the running "
                                    "player; it was only brought forward")
                         .arg(InstanceRequest::MaxBodyBytes);
    }
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

    const Outcome asked = askRunningInstance(request);
    if (asked == Outcome::OtherActivated)
        m_error = unsent;
    if (asked != Outcome::First)
        return asked;
    if (!locked)
        return refuse(lockHeld());
    // A crashed instance left its socket behind: nothing listens on it any more.
    QLocalServer::removeServer(m_socketPath);
    return listen();
}

// OtherActivated when an instance took the request, First when nothing listens on the
// socket, Refused when something listens but does not take the connection or the request in
// time.
SingleInstance::Outcome SingleInstance::askRunningInstance(const QByteArray &request)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (socket.waitForConnected(m_answerTimeoutMs)) {
        // A long request goes out as fast as the running instance reads it; it must not stall
        // for longer than one answer timeout at a time.
        socket.write(request);
        while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(m_answerTimeoutMs)) {
        }
        if (socket.bytesToWrite() > 0)
            return refuse(QStringLiteral("the running player at %1 does not take the request")
                              .arg(m_socketPath));
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
        // The oldest connection gives way, so connections that say nothing cannot keep a
        // start out for longer than it takes to open MaxConnections more.
        if (m_connections.size() >= MaxConnections) {
            QLocalSocket *oldest = m_connections.takeFirst();
            oldest->abort();
            oldest->deleteLater();
        }
        m_connections.append(socket);
        connect(socket, &QObject::destroyed, this,
                [this, socket] { m_connections.removeOne(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->setReadBufferSize(ReadChunkBytes);
        auto incoming = std::make_shared<Incoming>();
        incoming->deadline = new QTimer(socket);
        incoming->deadline->setSingleShot(true);
        connect(incoming->deadline, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        incoming->deadline->start(requestTimeoutMs());
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket, incoming] { readRequests(socket, *incoming); });
        readRequests(socket, *incoming);
    }
}

// Takes what has come on `socket` into `incoming`; acts on each whole request and drops the
// connection after an activation and on anything that cannot become a request.
void SingleInstance::readRequests(QLocalSocket *socket, Incoming &incoming)
{
    while (socket->state() == QLocalSocket::ConnectedState) {
        // A whole request fits, so Qt's buffer is emptied unless a request is complete.
        incoming.received +=
            socket->read(InstanceRequest::MaxRequestBytes - incoming.received.size());
        const InstanceRequest::Parsed parsed = InstanceRequest::parse(incoming.received);
        if (parsed.status == InstanceRequest::Status::Incomplete)
            return;
        const bool activation = parsed.songs.isEmpty();
        if (parsed.status == InstanceRequest::Status::Malformed || activation) {
            socket->abort();
            socket->deleteLater();
            if (parsed.status == InstanceRequest::Status::Complete)
                emit activationRequested();
            return;
        }
        incoming.received.remove(0, parsed.size);
        incoming.deadline->start();
        if (std::exchange(incoming.opened, true))
            emit songsAdded(parsed.songs);
        else
            emit openRequested(parsed.songs);
    }
}
