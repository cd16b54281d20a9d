#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// Keeps the player to one running instance per user. The first instance listens on a
// local socket that only its user can reach; a later start connects to it, asks it to
// come forward and ends.
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
        // Another instance answered and was asked to come forward: end without loading
        // or saving anything.
        OtherActivated,
        // Neither: something that is not a socket stands where the socket belongs, the
        // running instance does not answer, or the socket cannot be made. The start
        // ends; errorString() says why.
        Refused,
    };

    // `socketPath` names the socket; it belongs in a folder private to the user.
    // `answerTimeoutMs` bounds the wait for a running instance to take the connection and
    // the request; a start waits at most three times as long for another start's turn.
    explicit SingleInstance(const QString &socketPath, int answerTimeoutMs = 1000,
                            QObject *parent = nullptr);

    Outcome CheckExist();
    // Why the last CheckExist refused, in one line.
    QString errorString() const { return m_error; }

signals:
    // A later start asked this instance to show itself.
    void activationRequested();

private:
    Outcome askRunningInstance();
    Outcome listen();
    Outcome refuse(const QString &reason);
    QString lockHeld() const;
    void answerConnection();

    QString m_socketPath;
    int m_answerTimeoutMs = 1000;
    QString m_error;
    QLocalServer m_server;
};
