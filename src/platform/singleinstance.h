#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// Keeps the player to one running instance per user. The first instance listens on a
// local socket that only its user can reach; a later start connects to it, asks it to
// come forward and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `socketPath` names the socket; it belongs in a folder private to the user.
    explicit SingleInstance(const QString &socketPath, QObject *parent = nullptr);

    // True when another instance answered and was asked to come forward: the caller
    // then ends without loading or saving anything. Otherwise this instance becomes
    // the one that answers later starts. A socket left behind by a crashed instance is
    // removed, since nothing answers on it.
    bool CheckExist();

signals:
    // A later start asked this instance to show itself.
    void activationRequested();

private:
    void answerConnection();

    QString m_socketPath;
    QLocalServer m_server;
};
