#pragma once

#include <optional>

#include <QString>
#include <QStringList>
#include <QStringView>

#include "associations/mimeregistrystore.h"
#include "associations/registrybackend.h"

// The registry on a freedesktop desktop: the keys of the player's file associations live
// where the desktop looks for them.
// - "HKEY_CLASSES_ROOT\.EXT", for an extension the shared MIME database knows: its default
//   value is the default application of the extension's MIME types (each with its aliases,
//   such as audio/wav for audio/x-wav), the first installed entry of "Default Applications"
//   in the mimeapps.list files in their standard order (desktop-specific lists first in each
//   folder) for any of them, as a desktop entry ID, with the player's own entry given as the
//   class "zorvanplayer.file"; absent when no list names one. Writing it sets the default,
//   for every one of those types, in the user's mimeapps.list; "" removes it, and so does
//   another program that the other lists give already. The value "zorvan.back" is the key
//   "X-Zorvan-Back-EXT" of the player's desktop entry.
// - "HKEY_CLASSES_ROOT\zorvanplayer.file" and its keys "DefaultIcon", "shell", "shell\open"
//   and "shell\open\command" exist while the player's desktop entry "zorvanplayer.desktop"
//   does in the user's applications folder, and creating them writes a complete entry. Their
//   default values are the entry's Comment (the type description), Icon (the program path
//   stands for the player's icon "zorvanplayer") and Exec (the program path, which the entry
//   runs with the file to open).
// - Every other key and value is kept in a file of this backend in the program's folder.
// The entry lists in MimeType exactly the types whose default it was made, so the desktop's
// last-resort choice of any capable application never makes it the default of a type that
// was given back.
//
// The folders follow HOME and the XDG_* variables as they are at each call.
class MimeRegistry : public RegistryBackend
{
public:
    // The player's name as the desktop shows it, and the ID of its desktop entry.
    static constexpr QStringView ApplicationName = u"岚铃播放器";
    static constexpr QStringView DesktopId = u"zorvanplayer.desktop";
    // The ID without its ".desktop" ending, as the desktop's other services name the player.
    static QString desktopEntryName() { return DesktopId.chopped(8).toString(); }

    // `programPath`: the executable the desktop entry runs. `programFolder`: the folder of
    // the player's own files, where this backend keeps the keys the desktop has no place for.
    MimeRegistry(const QString &programPath, const QString &programFolder);

protected:
    bool hasKey(RootKey root, const QString &subKey) const override;
    bool addKey(RootKey root, const QString &subKey) override;
    std::optional<QString> readValue(RootKey root, const QString &subKey,
                                     const QString &valueName) const override;
    bool writeValue(RootKey root, const QString &subKey, const QString &valueName,
                    const QString &text) override;

private:
    // Writes a complete entry that runs the program, unless there is one.
    bool ensureEntry() const;
    // Sets the key of the entry, writing the entry first when it is missing; nothing
    // removes the key.
    bool setEntryValue(QStringView key, const std::optional<QString> &value) const;
    // Adds `mimeTypes` to the entry's MimeType list, or takes them out of it.
    bool setEntryMimeTypes(const QStringList &mimeTypes, bool isListed) const;
    // Makes `desktopId` the default of `mimeTypes` in the user's mimeapps.list; "" removes
    // their defaults there.
    bool setDefaultApplication(const QStringList &mimeTypes, const QString &desktopId) const;

    QString m_programPath;
    MimeRegistryStore m_store;
};
