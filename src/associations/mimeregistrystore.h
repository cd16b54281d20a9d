#pragma once

#include <optional>

#include <QJsonObject>
#include <QString>

// The keys of the MIME registry that have no place in the desktop's own files, kept in one
// JSON file: an object of keys by name, each an object of its values by name. Key and value
// names match without regard to case. Every call reads the file; every change replaces it
// atomically. A file that exists but cannot be read or parsed is never overwritten: the
// changes fail instead.
class MimeRegistryStore
{
public:
    explicit MimeRegistryStore(const QString &path);

    bool hasKey(const QString &key) const;
    bool addKey(const QString &key);
    std::optional<QString> value(const QString &key, const QString &valueName) const;
    // Adds the key when it is missing.
    bool setValue(const QString &key, const QString &valueName, const QString &text);

private:
    std::optional<QJsonObject> load() const;
    bool save(const QJsonObject &keys) const;

    QString m_path;
};
