#include "platform/mprisservice.h"

#include <QCoreApplication>
#include <QDBusMessage>
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

bool MprisService::registerOn(const QDBusConnection &bus)
{
    if (!bus.isConnected())
        return false;
    QDBusConnection connection = bus;
    if (!connection.registerObject(QString::fromLatin1(ObjectPath), this))
        return false;
    const QString name = QString::fromLatin1(ServiceName);
    const QString instanceName =
        name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const QString &candidate : {name, instanceName}) {
        if (connection.registerService(candidate)) {
            m_bus = connection;
            m_serviceName = candidate;
            return true;
        }
    }
    connection.unregisterObject(QString::fromLatin1(ObjectPath));
    return false;
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
