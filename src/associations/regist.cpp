#include "associations/regist.h"

#include <array>
#include <utility>

#include "core/usermessages.h"
#include "persist/textcodec.h"

Regist::Regist(RegistryBackend &registry, UserMessages &messages)
    : m_registry(registry), m_messages(messages)
{}

RootKey Regist::RootKeyFromName(const QString &name)
{
    static constexpr std::array<std::pair<QStringView, RootKey>, 7> roots{{
        {u"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
        {u"HKEY_CURRENT_USER", RootKey::CurrentUser},
        {u"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
        {u"HKEY_USERS", RootKey::Users},
        {u"HKEY_PERFORMANCE_DATA", RootKey::PerformanceData},
        {u"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
        {u"HKEY_DYN_DATA", RootKey::DynData},
    }};
    for (const auto &[rootName, root] : roots) {
        if (name == rootName)
            return root;
    }
    return RootKey::None;
}

RootKey Regist::SplitRegPath(QString &path)
{
    if (!path.startsWith(u"HKEY_") || path.endsWith(u'\\')) {
        m_messages.tell(UserMessages::Tone::Information,
                        QStringLiteral("Incorrect Format:\n\n") + path);
        return RootKey::None;
    }
    const qsizetype separator = path.indexOf(u'\\');
    if (separator < 0) {
        const RootKey root = RootKeyFromName(path);
        path.clear();
        return root;
    }
    const RootKey root = RootKeyFromName(path.left(separator));
    path.remove(0, separator + 1);
    return root;
}

QString Regist::ReadRegValue(const QString &keyPath, const QString &valueName)
{
    QString subKey = keyPath;
    const RootKey root = SplitRegPath(subKey);
    if (root == RootKey::None)
        return QString();
    const auto key = m_registry.openKey(root, subKey, RegistryAccess::Read);
    if (!key)
        return ReadError.toString();
    const std::optional<QString> value = m_registry.queryValue(*key, valueName);
    m_registry.closeKey(*key);
    // The value must fit the buffer in the registry's 8-bit encoding, with its end mark.
    const std::optional<QByteArray> bytes = value ? encodeGb18030(*value) : std::nullopt;
    if (!bytes || bytes->size() + 1 > ValueBufferBytes)
        return ReadError.toString();
    qsizetype spaces = 0;
    while (spaces < value->size() && value->at(spaces) == u' ')
        ++spaces;
    return value->mid(spaces);
}

void Regist::CreateRegKey(const QString &keyPath)
{
    QString subKey = keyPath;
    const RootKey root = SplitRegPath(subKey);
    if (root == RootKey::None)
        return;
    if (const auto key = m_registry.createKey(root, subKey))
        m_registry.closeKey(*key);
}

void Regist::WriteRegValue(const QString &keyPath, const QString &valueName, const QString &text)
{
    QString subKey = keyPath;
    const RootKey root = SplitRegPath(subKey);
    if (root == RootKey::None)
        return;
    const auto key = m_registry.openKey(root, subKey, RegistryAccess::Write);
    if (!key)
        return;
    m_registry.setValue(*key, valueName, text);
    m_registry.closeKey(*key);
}
