#pragma once

#include <map>
#include <optional>
#include <set>

#include <QString>

#include "associations/registrybackend.h"

// Keys and values by their lower-case names: root, sub-key path and value name.
class MemoryRegistry : public RegistryBackend
{
public:
    int keyCount() const { return int(m_keys.size()); }

protected:
    bool hasKey(RootKey root, const QString &subKey) const override
    {
        return m_keys.contains(name(root, subKey));
    }
    bool addKey(RootKey root, const QString &subKey) override
    {
        m_keys.insert(name(root, subKey));
        return true;
    }
    std::optional<QString> readValue(RootKey root, const QString &subKey,
                                     const QString &valueName) const override
    {
        const auto value = m_values.find(name(root, subKey, valueName));
        return value == m_values.end() ? std::nullopt : std::optional(value->second);
    }
    bool writeValue(RootKey root, const QString &subKey, const QString &valueName,
                    const QString &text) override
    {
        m_values[name(root, subKey, valueName)] = text;
        return true;
    }

private:
    static QString name(RootKey root, const QString &subKey, const QString &valueName = {})
    {
        return (QString::number(quint32(root)) + u'\\' + subKey + u'/' + valueName).toLower();
    }

    std::set<QString> m_keys;
    std::map<QString, QString> m_values;
};
