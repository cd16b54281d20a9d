#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariantMap>

class MediaControl;
class MprisPlayerAdaptor;
class MprisRootAdaptor;
class Player;

// The player on the session bus as a media player of the desktop (MPRIS 2): the object
// /org/mpris/MediaPlayer2 with the root and the Player interfaces, owned by the service
// org.mpris.MediaPlayer2.zorvan. Every method runs the player's own commands; every property
// is read from the player's state when asked.
//
// Changes are told the way the desktop expects: PropertiesChanged for the Player interface's
// properties whenever one really changed (gathered over one event-loop turn, so a new track
// is one signal), and Seeked after every seek. Position changes by itself while playing and
// is not told.
//
// Without a session bus nothing is registered and the player runs as it would without this.
class MprisService : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    static constexpr const char *ObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char *ServiceName = "org.mpris.MediaPlayer2.zorvan";
    static constexpr const char *PlayerInterface = "org.mpris.MediaPlayer2.Player";

    MprisService(Player &player, MediaControl &media, QObject *parent = nullptr);

    // Exports the object on `bus` and asks for the service name without waiting for the
    // answer; when another instance of the player holds the name (a test's second player on
    // the same bus), asks for the name with ".instance<pid>" added, as the desktop's
    // convention asks. Nothing stays exported when the bus is not connected or refuses both.
    void registerOn(const QDBusConnection &bus);
    MprisPlayerAdaptor &playerAdaptor() { return *m_playerAdaptor; }

    // Tells `property` in the next PropertiesChanged even when it has not changed: a set
    // that was refused.
    void tellAgain(const QString &property);
    // Refuses the D-Bus call being answered with `errorName`; does nothing for a call that did
    // not come over the bus.
    void refuseCall(const QString &errorName, const QString &message);

signals:
    // The Player interface's properties that changed, with their new values; sent on the bus
    // as PropertiesChanged too.
    void propertiesChanged(const QString &interfaceName, const QVariantMap &changed);
    // The desktop asked for the window (Raise).
    void raiseRequested();

private:
    void requestName(const QString &name, bool isFirstChoice);
    void scheduleRefresh();
    void refresh();

    MprisPlayerAdaptor *m_playerAdaptor = nullptr;
    QDBusConnection m_bus{QString()};
    QString m_serviceName;
    // The properties as last told.
    QVariantMap m_told;
    bool m_isRefreshQueued = false;
};
