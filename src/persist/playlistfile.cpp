#include "persist/playlistfile.h"

#include <QFileInfo>
#include <QUrl>

#include "persist/textcodec.h"

namespace {

const QString InfoMarker = QStringLiteral("#EXT");
const QString FileMarker = QStringLiteral("#EXTM3U");
const QString FileScheme = QStringLiteral("file://");

bool isInfoLine(const QString &line)
{
    // Most lines hold no "#" at all, which is looked for faster than the marker.
    return line.contains(u'#') && line.contains(InfoMarker);
}

// Whether the first character that is not blank is "#".
bool startsWithHash(const QString &line)
{
    for (QChar c : line) {
        if (!c.isSpace())
            return c == u'#';
    }
    return false;
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// Whether a line that is no stream address is an entry.
bool isEntryLine(const QString &line)
{
    return !line.isEmpty() && !startsWithHash(line) && !isInfoLine(line);
}

// The song a line that is no stream address names.
QString resolvePath(const QString &line, const QString &baseFolder)
{
    if (line.startsWith(FileScheme, Qt::CaseInsensitive)) {
        QString localFile = QUrl(line).toLocalFile(); // empty when it names none
        // A name with a line break is written back as an address, which has no form for a
        // byte that did not decode.
        if (!localFile.isEmpty())
            return holdsLineBreak(localFile) ? displayText(localFile) : localFile;
    }
    if (line.startsWith(u'/'))
        return line;
    QString relative = QString(line).replace(u'\\', u'/');
    if (relative.startsWith(u"./"))
        relative.remove(0, 2);
    return baseFolder + relative;
}

// How `song` is written so that it reads back as itself from a list in `listFolder`.
QString playlistLine(const QString &song, const QString &listFolder)
{
    if (isStreamAddress(song)) {
        QString line = song;
        return line.replace(u'\r', QStringLiteral("%0D")).replace(u'\n', QStringLiteral("%0A"));
    }
    if (!holdsLineBreak(song)) {
        if (song.isEmpty() || isEntryLine(song))
            return song;
        QString dotted = QStringLiteral("./") + song;
        if (!song.startsWith(u'/') && isEntryLine(dotted))
            return dotted;
    }
    const QString local = song.startsWith(u'/') ? song : listFolder + song;
    return QUrl::fromLocalFile(local).toString(QUrl::FullyEncoded);
}

// The folder of the list file at `path`, with its trailing "/": relative entries are
// relative to it.
QString listFolderOf(const QString &path)
{
    const QString filePath = QFileInfo(path).absoluteFilePath();
    return filePath.left(filePath.lastIndexOf(u'/') + 1);
}

} // namespace

bool isStreamAddress(const QString &entry)
{
    // Looked at first, since a list is mostly paths, which begin with "/".
    if (entry.isEmpty() || !isAsciiLetter(entry.front()))
        return false;
    const qsizetype separator = entry.indexOf(u"://");
    if (separator < 2)
        return false;
    const QStringView scheme = QStringView(entry).first(separator);
    for (QChar c : scheme) {
        if (!isAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    return scheme.compare(u"file", Qt::CaseInsensitive) != 0;
}

PlaylistEntries parsePlaylist(const QString &text, const QString &baseFolder)
{
    const QStringList lines = splitLines(text);
    PlaylistEntries entries;
    entries.songs.reserve(lines.size());
    entries.infos.reserve(lines.size());
    // The information line waiting for its entry: it names the next entry unless a blank
    // line or another information line comes first. Comment lines do not interrupt it.
    QString pendingInfo;
    for (const QString &line : lines) {
        const bool stream = isStreamAddress(line);
        if (stream || isEntryLine(line)) {
            entries.infos.append(pendingInfo.isEmpty() ? line : pendingInfo);
            entries.songs.append(stream ? line : resolvePath(line, baseFolder));
            pendingInfo.clear();
        } else if (isInfoLine(line)) {
            pendingInfo = line == FileMarker ? QString() : line;
        } else if (line.isEmpty()) {
            pendingInfo.clear();
        }
    }
    return entries;
}

ReadResult<PlaylistEntries> LoadPlaylist(const QString &path)
{
    const ReadResult<QString> read = readTextFile(path, PlaylistFileLimit);
    if (!read.isRead())
        return {read.status, {}, read.error};
    return {ReadStatus::Read, parsePlaylist(read.value, listFolderOf(path)), QString()};
}

ReadResult<PlaylistHead> LoadPlaylistHead(const QString &path, qint64 count)
{
    ReadResult<QByteArray> read = readFileHead(path, PlaylistFileLimit, count);
    const bool isWhole = read.value.size() < count;
    if (read.isRead() && !isWhole) {
        read.value.truncate(read.value.lastIndexOf('\n') + 1);
        if (!decodesAsPartOfWhole(read.value))
            return {ReadStatus::Read, {}, QString()};
    }
    const ReadResult<QString> text = decodeRead(read);
    if (!text.isRead())
        return {text.status, {}, text.error};
    return {ReadStatus::Read, {parsePlaylist(text.value, listFolderOf(path)), isWhole}, QString()};
}

QStringList formatPlaylist(const QStringList &songs, const QString &listFolder)
{
    QStringList lines;
    lines.reserve(songs.size());
    for (const QString &song : songs)
        lines.append(playlistLine(song, listFolder));
    return lines;
}

WriteResult SavePlaylist(const QString &path, const QStringList &songs)
{
    return writeTextLines(path, formatPlaylist(songs, listFolderOf(path)));
}
