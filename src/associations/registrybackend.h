#pragma once

#include <map>
#include <optional>

#include <QString>

// The predefined root keys of the registry, by their registry numbers; None names no key.
enum class RootKey : quint32 {
    None = 0,
    ClassesRoot = 0x80000000,
    CurrentUser = 0x80000001,
    LocalMachine = 0x80000002,
    Users = 0x80000003,
    PerformanceData = 0x80000004,
    CurrentConfig = 0x80000005,
    DynData = 0x80000006,
};

enum class RegistryAccess { Read, Write, ReadWrite };

// A registry of keys that hold string values, used through five operations: open, create,
// query, set and close. A key is named by a root and a sub-key path of names separated by
// "\" ("" is the root key itself, which always exists); value name "" is the key's default
// value. Key and value names match without regard to case.
//
// openKey and createKey hand out a handle that stays valid until closeKey; it carries the
// access it was opened with. A storage derives from this class and supplies the four
// primitives below; it only ever sees a real root and a sub-key path of non-empty names
// ("" only for the values of the root key itself).
class RegistryBackend
{
public:
    using Handle = int;

    virtual ~RegistryBackend() = default;

    // An existing key; nothing when it does not exist or the path is malformed.
    std::optional<Handle> openKey(RootKey root, const QString &subKey, RegistryAccess access);
    // The key opened for reading and writing, created first with any missing keys above it;
    // nothing when it cannot be created.
    std::optional<Handle> createKey(RootKey root, const QString &subKey);
    // The value's text; nothing when the value is absent or `key` is not open for reading.
    std::optional<QString> queryValue(Handle key, const QString &valueName) const;
    // False when the storage refuses the value or `key` is not open for writing.
    bool setValue(Handle key, const QString &valueName, const QString &text);
    // Releases the handle; an unknown handle is ignored.
    void closeKey(Handle key);

    // Handles given out and not yet closed.
    int openKeyCount() const { return int(m_openKeys.size()); }

protected:
    // `subKey` is never empty for these two, and createKey adds keys from the top down, so
    // addKey is only called for a missing key whose parent exists.
    virtual bool hasKey(RootKey root, const QString &subKey) const = 0;
    virtual bool addKey(RootKey root, const QString &subKey) = 0;
    virtual std::optional<QString> readValue(RootKey root, const QString &subKey,
                                             const QString &valueName) const = 0;
    virtual bool writeValue(RootKey root, const QString &subKey, const QString &valueName,
                            const QString &text) = 0;

private:
    struct OpenKey
    {
        RootKey root = RootKey::None;
        QString subKey;
        RegistryAccess access = RegistryAccess::Read;
    };

    Handle addHandle(RootKey root, const QString &subKey, RegistryAccess access);
    const OpenKey *findKey(Handle key) const;

    std::map<Handle, OpenKey> m_openKeys;
    Handle m_nextHandle = 1;
};
