#include "persist/keyvaluefile.h"

#include "persist/textcodec.h"

QStringList formatKeyValues(const QString &marker, const KeyValues &values)
{
    QStringList lines{marker};
    for (const auto &[key, value] : values)
        lines.append(key + u'=' + value);
    return lines;
}

std::optional<QHash<QString, QString>> parseKeyValues(const QString &marker, const QString &text)
{
    const QStringList lines = splitLines(text);
    if (lines.isEmpty() || lines.first() != marker)
        return std::nullopt;
    QHash<QString, QString> values;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype equals = lines[i].indexOf(u'=');
        if (equals > 0)
            values.insert(lines[i].left(equals).trimmed(), lines[i].mid(equals + 1));
    }
    return values;
}

ReadResult<QHash<QString, QString>> readKeyValueFile(const QString &path, const QString &marker)
{
    const ReadResult<QString> read = readTextFile(path, SmallTextFileLimit);
    if (!read.isRead())
        return {read.status, {}, read.error};
    std::optional<QHash<QString, QString>> values = parseKeyValues(marker, read.value);
    if (!values)
        return {ReadStatus::Unreadable, {}, QStringLiteral("the first line is not %1").arg(marker)};
    return {ReadStatus::Read, std::move(*values), QString()};
}

WriteResult writeKeyValueFile(const QString &path, const QString &marker, const KeyValues &values)
{
    return writeTextLines(path, formatKeyValues(marker, values));
}
