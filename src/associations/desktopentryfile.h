#pragma once

#include <optional>

#include <QByteArrayList>
#include <QString>
#include <QStringView>

// A file in the Desktop Entry format (UTF-8 lines: "[Group]" headers, "Key=Value" entries,
// "#" comments, blank lines), as desktop entries and mimeapps.list are. It is edited line
// by line: every line a change does not touch keeps its bytes, and so do the line ends.
//
// Values are strings in the format's escaping: "\s" (a leading space), "\n", "\t", "\r" and
// "\\" stand for their characters. With a key given twice in a group the first counts.
class DesktopEntryFile
{
public:
    // The file at `path`; a file that does not exist reads as an empty one. Nothing when it
    // exists but cannot be read.
    static std::optional<DesktopEntryFile> load(const QString &path);
    // Replaces the file at `path` atomically, creating its folder. False when it cannot.
    bool save(const QString &path) const;

    std::optional<QString> value(QStringView group, QStringView key) const;
    // Replaces the key's first line and drops its later ones; a new key goes after the last
    // entry of the group, a new group at the end of the file.
    void setValue(QStringView group, QStringView key, const QString &value);
    // Drops every line of the key in the group; false when there was none.
    bool removeValue(QStringView group, QStringView key);

    static QString escape(const QString &value);
    static QString unescape(QStringView value);

private:
    struct Entry
    {
        qsizetype line = -1;
        QString value;
    };
    // The entries of `key` in `group`, in file order.
    QList<Entry> find(QStringView group, QStringView key) const;
    // The line after which a new entry of `group` goes; -1 when the group is missing.
    qsizetype endOfGroup(QStringView group) const;

    QByteArrayList m_lines;
    // Whether the last line ends with a line feed; an empty file counts as ending so.
    bool m_hasFinalNewline = true;
};
