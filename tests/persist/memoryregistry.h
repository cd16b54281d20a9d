#pragma once

#include <map>
#include <optional>

#include <QString>
#include <QStringList>

#include "persist/registrybackend.h"
#include "persist/registrymessages.h"

// Keys by root and lower-case path, each with its values by lower-case name.
class MemoryRegistry : public RegistryBackend
{
public:
    int keyCount() const { return int(m_keys.size()); }

protected:
    bool hasKey(RootKey root, const QString &subKey) const override
    {
        return m_keys.contains(keyName(root, subKey));
    }
    bool addKey(RootKey root, const QString &subKey) override
    {
        m_keys[keyName(root, subKey)];
        return true;
    }
    std::optional<QString> readValue(RootKey root, const QString &subKey,
                                     const QString &valueName) const override
    {
        const auto key = m_keys.find(keyName(root, subKey));
        if (key == m_keys.end() || !key->second.contains(valueName.toLower()))
            return std::nullopt;
        return key->second.at(valueName.toLower());
    }
    bool writeValue(RootKey root, const QString &subKey, const QString &valueName,
                    const QString &text) override
    {
        m_keys[keyName(root, subKey)][valueName.toLower()] = text;
        return true;
    }

private:
    static QString keyName(RootKey root, const QString &subKey)
    {
        return QString::number(quint32(root)) + u'\\' + subKey.toLower();
    }

    std::map<QString, std::map<QString, QString>> m_keys;
};

class RecordedMessages : public RegistryMessages
{
public:
    void show(const QString &text) override { shown.append(text); }

    QStringList shown;
};
