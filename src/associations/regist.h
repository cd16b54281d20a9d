#pragma once

#include <QString>
#include <QStringView>

#include "associations/registrybackend.h"

class UserMessages;

// String values of the registry, addressed by textual key paths: a root name, "\" and the
// sub-key path, e.g. "HKEY_CLASSES_ROOT\.mp3"; "HKEY_CLASSES_ROOT" alone is the root key.
// Value name "" is a key's default value. Failures are silent apart from the one message of
// SplitRegPath; ReadRegValue reports them in its result.
class Regist
{
public:
    // What ReadRegValue gives for a key that cannot be opened or a value that cannot be read.
    static constexpr QStringView ReadError = u"Error";
    // Bytes a value may take in the code page, its terminating null included.
    static constexpr int ValueBufferBytes = 255;

    Regist(RegistryBackend &registry, UserMessages &messages);

    // The predefined key of "HKEY_CLASSES_ROOT" … "HKEY_DYN_DATA", matched exactly;
    // RootKey::None for any other name.
    static RootKey RootKeyFromName(const QString &name);

    // Splits `path` into its root (the result) and its sub-key path (left in `path`, "" when
    // the path is a root name alone). A path that does not begin with "HKEY_" or that ends
    // with "\" is shown in an "Incorrect Format:" message and gives RootKey::None, `path`
    // unchanged.
    RootKey SplitRegPath(QString &path);

    // The value's text with leading spaces removed; ReadError when the key cannot be opened
    // or the value is absent or does not fit ValueBufferBytes; "" for an unknown root.
    QString ReadRegValue(const QString &keyPath, const QString &valueName);
    // Creates the key and any missing keys above it.
    void CreateRegKey(const QString &keyPath);
    // Sets the value in an existing key; does nothing when the key cannot be opened.
    void WriteRegValue(const QString &keyPath, const QString &valueName, const QString &text);

private:
    RegistryBackend &m_registry;
    UserMessages &m_messages;
};
