#include "associations/mimeregistrystore.h"

#include <QLoggingCategory>
#include <QJsonDocument>

#include "persist/textfile.h"

namespace {

Q_LOGGING_CATEGORY(lcAssociations, "zorvan.associations")

} // namespace

MimeRegistryStore::MimeRegistryStore(const QString &path) : m_path(path) {}

bool MimeRegistryStore::hasKey(const QString &key) const
{
    const auto keys = load();
    return keys && keys->contains(key.toLower());
}

bool MimeRegistryStore::addKey(const QString &key)
{
    auto keys = load();
    if (!keys)
        return false;
    if (keys->contains(key.toLower()))
        return true;
    keys->insert(key.toLower(), QJsonObject());
    return save(*keys);
}

std::optional<QString> MimeRegistryStore::value(const QString &key, const QString &valueName) const
{
    const auto keys = load();
    if (!keys)
        return std::nullopt;
    const QJsonValue value = keys->value(key.toLower()).toObject().value(valueName.toLower());
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

bool MimeRegistryStore::setValue(const QString &key, const QString &valueName, const QString &text)
{
    auto keys = load();
    if (!keys)
        return false;
    QJsonObject values = keys->value(key.toLower()).toObject();
    values.insert(valueName.toLower(), text);
    keys->insert(key.toLower(), values);
    return save(*keys);
}

std::optional<QJsonObject> MimeRegistryStore::load() const
{
    const ReadResult<QByteArray> file = readFile(m_path, SmallTextFileLimit);
    if (file.status == ReadStatus::Missing)
        return QJsonObject();
    if (!file.isRead())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.value);
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

bool MimeRegistryStore::save(const QJsonObject &keys) const
{
    const WriteResult written = writeFileBytes(m_path, QJsonDocument(keys).toJson());
    if (!written.ok)
        qCWarning(lcAssociations).noquote()
            << QStringLiteral("cannot write %1: %2").arg(m_path, written.error);
    return written.ok;
}
