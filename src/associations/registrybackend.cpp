#include "associations/registrybackend.h"

#include <QStringList>

namespace {

bool isRootKey(RootKey root)
{
    return root >= RootKey::ClassesRoot && root <= RootKey::DynData;
}

bool isWellFormed(const QString &subKey)
{
    return subKey.isEmpty() || !subKey.split(u'\\').contains(QString());
}

} // namespace

std::optional<RegistryBackend::Handle> RegistryBackend::openKey(RootKey root, const QString &subKey,
                                                                RegistryAccess access)
{
    if (!isRootKey(root) || !isWellFormed(subKey))
        return std::nullopt;
    if (!subKey.isEmpty() && !hasKey(root, subKey))
        return std::nullopt;
    return addHandle(root, subKey, access);
}

std::optional<RegistryBackend::Handle> RegistryBackend::createKey(RootKey root,
                                                                  const QString &subKey)
{
    if (!isRootKey(root) || !isWellFormed(subKey))
        return std::nullopt;
    if (!subKey.isEmpty()) {
        qsizetype end = 0;
        while (end != subKey.size()) {
            end = subKey.indexOf(u'\\', end + 1);
            if (end < 0)
                end = subKey.size();
            const QString key = subKey.left(end);
            if (!hasKey(root, key) && !addKey(root, key))
                return std::nullopt;
        }
    }
    return addHandle(root, subKey, RegistryAccess::ReadWrite);
}

std::optional<QString> RegistryBackend::queryValue(Handle key, const QString &valueName) const
{
    const OpenKey *open = findKey(key);
    if (!open || open->access == RegistryAccess::Write)
        return std::nullopt;
    return readValue(open->root, open->subKey, valueName);
}

bool RegistryBackend::setValue(Handle key, const QString &valueName, const QString &text)
{
    const OpenKey *open = findKey(key);
    if (!open || open->access == RegistryAccess::Read)
        return false;
    return writeValue(open->root, open->subKey, valueName, text);
}

void RegistryBackend::closeKey(Handle key)
{
    m_openKeys.erase(key);
}

RegistryBackend::Handle RegistryBackend::addHandle(RootKey root, const QString &subKey,
                                                   RegistryAccess access)
{
    const Handle handle = m_nextHandle++;
    m_openKeys.emplace(handle, OpenKey{root, subKey, access});
    return handle;
}

const RegistryBackend::OpenKey *RegistryBackend::findKey(Handle key) const
{
    const auto found = m_openKeys.find(key);
    return found == m_openKeys.end() ? nullptr : &found->second;
}
