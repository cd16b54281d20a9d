#include "platform/mprisrootadaptor.h"

#include <QMetaObject>

#include "associations/mimeregistry.h"
#include "core/player.h"
#include "platform/mprisservice.h"

MprisRootAdaptor::MprisRootAdaptor(MprisService &service, Player &player)
    : QDBusAbstractAdaptor(&service), m_service(service), m_player(player)
{}

QString MprisRootAdaptor::identity() const
{
    return MimeRegistry::ApplicationName.toString();
}

QString MprisRootAdaptor::desktopEntry() const
{
    return MimeRegistry::desktopEntryName();
}

QStringList MprisRootAdaptor::supportedUriSchemes() const
{
    return {QStringLiteral("file")};
}

// The types the desktop entry names: the sound files and playlists the player is made for.
QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-ms-wma"),
            QStringLiteral("audio/x-wav"), QStringLiteral("audio/x-mpegurl")};
}

void MprisRootAdaptor::Raise()
{
    QMetaObject::invokeMethod(&m_service, &MprisService::raiseRequested, Qt::QueuedConnection);
}

void MprisRootAdaptor::Quit()
{
    QMetaObject::invokeMethod(
        this, [this] { m_player.run(Command::Quit); }, Qt::QueuedConnection);
}
