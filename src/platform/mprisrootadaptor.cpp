#include "platform/mprisrootadaptor.h"

#include <QMetaObject>

#include "associations/mimeregistry.h"
#include "core/windowcommands.h"
#include "platform/mprisservice.h"

MprisRootAdaptor::MprisRootAdaptor(MprisService &service, WindowCommands &window)
    : QDBusAbstractAdaptor(&service), m_service(service), m_window(window)
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
        this, [this] { m_window.UnloadMe(); }, Qt::QueuedConnection);
}
