#include "associations/desktopentryfile.h"

#include <QLoggingCategory>

#include "persist/textfile.h"

namespace {

Q_LOGGING_CATEGORY(lcAssociations, "zorvan.associations")

// A line without its CR, if the file has CR LF ends.
QByteArrayView content(const QByteArray &line)
{
    QByteArrayView view(line);
    return view.endsWith('\r') ? view.chopped(1) : view;
}

// The name of a "[Group]" line.
std::optional<QString> groupName(const QByteArray &line)
{
    const QByteArrayView text = content(line);
    if (!text.startsWith('[') || !text.endsWith(']'))
        return std::nullopt;
    return QString::fromUtf8(text.sliced(1, text.size() - 2));
}

// The key and raw value of a "Key = Value" line; spaces around "=" do not count.
std::optional<std::pair<QString, QString>> keyAndValue(const QByteArray &line)
{
    const QByteArrayView text = content(line);
    const qsizetype equals = text.indexOf('=');
    if (text.startsWith('#') || text.startsWith('[') || equals <= 0)
        return std::nullopt;
    qsizetype start = equals + 1;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    return std::pair{QString::fromUtf8(text.first(equals).trimmed()),
                     QString::fromUtf8(text.sliced(start))};
}

} // namespace

std::optional<DesktopEntryFile> DesktopEntryFile::load(const QString &path)
{
    DesktopEntryFile file;
    const ReadResult<QByteArray> input = readFile(path, SmallTextFileLimit);
    if (input.status == ReadStatus::Missing)
        return file;
    if (!input.isRead())
        return std::nullopt;
    const QByteArray &bytes = input.value;
    if (bytes.isEmpty())
        return file;
    file.m_lines = bytes.split('\n');
    file.m_hasFinalNewline = bytes.endsWith('\n');
    if (file.m_hasFinalNewline)
        file.m_lines.removeLast();
    return file;
}

bool DesktopEntryFile::save(const QString &path) const
{
    QByteArray bytes = m_lines.join('\n');
    if (!m_lines.isEmpty() && m_hasFinalNewline)
        bytes += '\n';
    const WriteResult written = writeFileBytes(path, bytes);
    if (!written.ok)
        qCWarning(lcAssociations).noquote()
            << QStringLiteral("cannot write %1: %2").arg(path, written.error);
    return written.ok;
}

std::optional<QString> DesktopEntryFile::value(QStringView group, QStringView key) const
{
    const QList<Entry> entries = find(group, key);
    if (entries.isEmpty())
        return std::nullopt;
    return unescape(entries.first().value);
}

void DesktopEntryFile::setValue(QStringView group, QStringView key, const QString &value)
{
    const QByteArray line = (key.toString() + u'=' + escape(value)).toUtf8();
    const QList<Entry> entries = find(group, key);
    if (!entries.isEmpty()) {
        m_lines[entries.first().line] = line;
        for (qsizetype index = entries.size() - 1; index > 0; --index)
            m_lines.removeAt(entries[index].line);
        return;
    }
    qsizetype after = endOfGroup(group);
    if (after < 0) {
        if (!m_lines.isEmpty() && !content(m_lines.last()).trimmed().isEmpty())
            m_lines.append(QByteArray());
        m_lines.append(('[' + group.toString() + u']').toUtf8());
        after = m_lines.size() - 1;
    }
    if (after == m_lines.size() - 1)
        m_hasFinalNewline = true;
    m_lines.insert(after + 1, line);
}

bool DesktopEntryFile::removeValue(QStringView group, QStringView key)
{
    const QList<Entry> entries = find(group, key);
    for (qsizetype index = entries.size() - 1; index >= 0; --index)
        m_lines.removeAt(entries[index].line);
    return !entries.isEmpty();
}

QString DesktopEntryFile::escape(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar character : value) {
        switch (character.unicode()) {
        case u'\\':
            escaped += u"\\\\";
            break;
        case u'\n':
            escaped += u"\\n";
            break;
        case u'\t':
            escaped += u"\\t";
            break;
        case u'\r':
            escaped += u"\\r";
            break;
        case u' ':
            escaped += escaped.isEmpty() ? u"\\s" : u" ";
            break;
        default:
            escaped += character;
        }
    }
    return escaped;
}

QString DesktopEntryFile::unescape(QStringView value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype index = 0; index < value.size(); ++index) {
        const QChar next = index + 1 < value.size() ? value[index + 1] : QChar();
        if (value[index] != u'\\' || !QStringView(u"sntr\\").contains(next)) {
            text += value[index];
            continue;
        }
        switch (next.unicode()) {
        case u's':
            text += u' ';
            break;
        case u'n':
            text += u'\n';
            break;
        case u't':
            text += u'\t';
            break;
        case u'r':
            text += u'\r';
            break;
        default:
            text += u'\\';
        }
        ++index;
    }
    return text;
}

QList<DesktopEntryFile::Entry> DesktopEntryFile::find(QStringView group, QStringView key) const
{
    QList<Entry> entries;
    bool isInGroup = false;
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        if (const auto name = groupName(m_lines[index])) {
            isInGroup = *name == group;
        } else if (isInGroup) {
            const auto entry = keyAndValue(m_lines[index]);
            if (entry && entry->first == key)
                entries.append({index, entry->second});
        }
    }
    return entries;
}

qsizetype DesktopEntryFile::endOfGroup(QStringView group) const
{
    qsizetype end = -1;
    bool isInGroup = false;
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        if (const auto name = groupName(m_lines[index])) {
            isInGroup = *name == group;
            if (isInGroup)
                end = index;
        } else if (isInGroup && keyAndValue(m_lines[index])) {
            end = index;
        }
    }
    return end;
}
