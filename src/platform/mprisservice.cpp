#include "platform/mprisservice.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>

#include "core/player.h"
#include "platform/mprisplayeradaptor.h"
#include "platform/mprisrootadaptor.h"

MprisService::MprisService(Player &player, MediaControl &media, QObject *parent)
    : QObject(parent), m_playerAdaptor(new MprisPlayerAdaptor(*this, player, media))
{
    // The adaptors are children of the service, exported with it.
    new MprisRootAdaptor(*this, player);
    m_told = m_playerAdaptor->changeableProperties();
    Transport &transport = player.transport();
    connect(&transport, &Transport::flagsChanged, this, &MprisService::scheduleRefresh);
    connect(&transport, &Transport::modesChanged, this, &MprisService::scheduleRefresh);
    connect(&transport, &Transport::trackChanged, this, &MprisService::scheduleRefresh);
    connect(&transport, &Transport::lengthChanged, this, &MprisService::scheduleRefresh);
    const Playlist &list = transport.ListSong();
    connect(&list, &Playlist::rowsInserted, this, &MprisService::scheduleRefresh);
    connect(&list, &Playlist::rowsRemoved, this, &MprisService::scheduleRefresh);
    connect(&list, &Playlist::modelReset, this, &MprisService::scheduleRefresh);
    connect(&player.sound().volumeKnob(), &Knob::moved, this, &MprisService::scheduleRefresh);
    // The lyric line shown now is part of the track's metadata.
    connect(&player.labels(), &DisplayLabels::changed, this, [this](DisplayLabels::Label label) {
        if (label == DisplayLabels::Label::LTxtMin)
            scheduleRefresh();
    });
}

void MprisService::registerOn(const QDBusConnection &bus)
{
    QDBusConnection connection = bus;
    if (!connection.isConnected() ||
        !connection.registerObject(QString::fromLatin1(ObjectPath), this))
        return;
    m_bus = connection;
    requestName(QString::fromLatin1(ServiceName), true);
}

// The bus daemon's RequestName without queueing: the name is ours at once or not at all.
void MprisService::requestName(const QString &name, bool isFirstChoice)
{
    constexpr uint DoNotQueue = 4;
    constexpr uint PrimaryOwner = 1;
    constexpr uint AlreadyOwner = 4;
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request << name << DoNotQueue;
    auto *answer = new QDBusPendingCallWatcher(m_bus.asyncCall(request), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this, name, isFirstChoice](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isValid() &&
                    (reply.value() == PrimaryOwner || reply.value() == AlreadyOwner)) {
                    m_serviceName = name;
                } else if (isFirstChoice) {
                    requestName(
                        name +
                            QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid()),
                        false);
                } else {
                    m_bus.unregisterObject(QString::fromLatin1(ObjectPath));
                }
            });
}

void MprisService::refuseCall(const QString &errorName, const QString &message)
{
    if (calledFromDBus())
        sendErrorReply(errorName, message);
}

void MprisService::tellAgain(const QString &property)
{
    m_told.remove(property);
    scheduleRefresh();
}

void MprisService::scheduleRefresh()
{
    if (m_isRefreshQueued)
        return;
    m_isRefreshQueued = true;
    QMetaObject::invokeMethod(this, &MprisService::refresh, Qt::QueuedConnection);
}

void MprisService::refresh()
{
    m_isRefreshQueued = false;
    const QVariantMap now = m_playerAdaptor->changeableProperties();
    QVariantMap changed;
    for (auto each = now.cbegin(); each != now.cend(); ++each) {
        if (m_told.value(each.key()) != each.value())
            changed.insert(each.key(), each.value());
    }
    if (changed.isEmpty())
        return;
    m_told = now;
    const QString interfaceName = QString::fromLatin1(PlayerInterface);
    emit propertiesChanged(interfaceName, changed);
    if (m_serviceName.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(ObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << interfaceName << changed << QStringList();
    m_bus.send(signal);
}
