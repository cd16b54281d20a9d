#pragma once

#include <QByteArray>
#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QString>

#include "core/commandline.h"

class QLocalSocket;

// Keeps the player to one running instance per user. The first instance listens on a
// local socket that only its user can reach; a later start connects to it, hands it the songs
// of its command line (or, without any, asks it to come forward) and ends. The requests are
// those of InstanceRequest.
//
// The running instance reads every connection within bounds: one request of at most
// InstanceRequest::MaxRequestBytes at a time, each within requestTimeoutMs() of the
// connection or the request before it, and at most MaxConnections at a time (a new one
// closes the oldest). A connection that breaks a bound or sends anything but well-formed
// requests is closed; the requests it completed before stand.
//
// Starts at the same moment take turns through a lock file beside the socket, so two of
// them never both decide they are the first. A lock left by a crashed start is removed by
// the lock itself (its process is gone). The socket file is removed only when connecting
// says that nothing listens on it; a busy instance that is slow to answer keeps it.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        // This instance now answers later starts.
        First,
        // Another instance answered and took the request (the songs, or to come forward): end
        // without loading or saving anything.
        OtherActivated,
        // Neither: something that is not a socket stands where the socket belongs, the
        // running instance does not answer, or the socket cannot be made. The start
        // ends; errorString() says why.
        Refused,
    };

    // Connections the running instance reads at once; one more closes the oldest.
    static constexpr int MaxConnections = 32;

    // `socketPath` names the socket; it belongs in a folder private to the user.
    // `answerTimeoutMs` bounds the wait for a running instance to take the connection and
    // each part of the request; a start waits at most three times as long for another
    // start's turn.
    explicit SingleInstance(const QString &socketPath, int answerTimeoutMs = 1000,
                            QObject *parent = nullptr);

    // `songs` go to a running instance; without any it is only asked to come forward.
    Outcome CheckExist(const CommandLineSongs &songs = {});
    // Why the last CheckExist refused, in one line; or, when it handed over, what it could
    // not hand over (a song too long for a request: the running one only came forward).
    QString errorString() const { return m_error; }
    // How long a connection may take to deliver each request: ten answer timeouts.
    int requestTimeoutMs() const { return 10 * m_answerTimeoutMs; }

signals:
    // A later start asked this instance to show itself.
    void activationRequested();
    // A later start handed over songs or folders (never none of both): they are to be added
    // and played, and the instance to come forward. activationRequested does not come with it.
    void openRequested(const CommandLineSongs &songs);
    // More of the songs of the openRequested before, from the same later start: they are to be
    // added after those, and nothing else done.
    void songsAdded(const CommandLineSongs &songs);

private:
    Outcome askRunningInstance(const QByteArray &request);
    Outcome listen();
    Outcome refuse(const QString &reason);
    QString lockHeld() const;
    void answerConnection();
    struct Incoming;
    void readRequests(QLocalSocket *socket, Incoming &incoming);

    QString m_socketPath;
    int m_answerTimeoutMs = 1000;
    QString m_error;
    // Open connections, oldest first. Declared before the server, whose connections are its
    // children: they are deleted with it and take themselves off this list as they go.
    QList<QLocalSocket *> m_connections;
    QLocalServer m_server;
};
