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
    return line.contains(InfoMarker);
}

QString resolvePath(const QString &line, const QString &baseFolder)
{
    if (line.startsWith(FileScheme, Qt::CaseInsensitive)) {
        const QString localFile = QUrl(line).toLocalFile(); // empty when it names none
        if (!localFile.isEmpty())
            return localFile;
    }
    if (line.startsWith(u'/'))
        return line;
    return baseFolder + QString(line).replace(u'\\', u'/');
}

} // namespace

PlaylistEntries parsePlaylist(const QString &text, const QString &baseFolder)
{
    const QStringList lines = splitLines(text);
    PlaylistEntries entries;
    entries.songs.reserve(lines.size());
    entries.infos.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QString next = i + 1 < lines.size() ? lines.at(i + 1) : QString();
        if (isInfoLine(line) && line != FileMarker && !next.isEmpty() && !isInfoLine(next)) {
            entries.infos.append(line);
            entries.songs.append(resolvePath(next, baseFolder));
            ++i;
        } else if (!line.isEmpty() && !isInfoLine(line)) {
            entries.infos.append(line);
            entries.songs.append(resolvePath(line, baseFolder));
        }
    }
    return entries;
}

PlaylistEntries LoadPlaylist(const QString &path)
{
    const std::optional<QString> text = readTextFile(path);
    if (!text)
        return {};
    const QString filePath = QFileInfo(path).absoluteFilePath();
    return parsePlaylist(*text, filePath.left(filePath.lastIndexOf(u'/') + 1));
}

WriteResult SavePlaylist(const QString &path, const QStringList &songs)
{
    QStringList lines;
    lines.reserve(songs.size());
    for (const QString &song : songs) {
        const bool readsBackOtherwise =
            song.contains(u'\n') || song.contains(u'\r') || isInfoLine(song);
        if (readsBackOtherwise && song.startsWith(u'/'))
            lines.append(QUrl::fromLocalFile(song).toString(QUrl::FullyEncoded));
        else
            lines.append(song);
    }
    return writeTextLines(path, lines);
}
