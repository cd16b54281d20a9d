#include "lyrics/lyriclookup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "lyrics/lyricfilechooser.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"

namespace {

// The file `name` in `folder`, or else the one whose name differs from it only in letter
// case (the first in code point order when there are several); "" when there is none.
QString existingFile(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    QString exact = dir.filePath(name);
    if (QFileInfo(exact).isFile())
        return exact;
    QString found;
    QDirIterator entries(dir.path(), QDir::Files | QDir::Hidden);
    while (entries.hasNext()) {
        entries.next();
        const QString entry = entries.fileName();
        if (entry.compare(name, Qt::CaseInsensitive) == 0 && (found.isEmpty() || entry < found))
            found = entry;
    }
    return found.isEmpty() ? QString() : dir.filePath(found);
}

// The longest file name that common file systems hold, in bytes of its encoded form.
constexpr qsizetype MaxFileNameBytes = 255;

// The lyric file name "`stem`.lrc" for a stem taken from tags: a "/" (or a NUL, which no
// name holds either) becomes "_", so the name stays inside the folder it is looked up in;
// "" for an empty stem or a name too long to exist.
QString tagFileName(const QString &stem)
{
    if (stem.isEmpty())
        return {};
    QString name = stem + QStringLiteral(".lrc");
    name.replace(u'/', u'_').replace(QChar(0), u'_');
    return QFile::encodeName(name).size() <= MaxFileNameBytes ? name : QString();
}

// The first file named `name` beside the song (in `songFolder`), then in `lyricDirs`; "" when
// there is none.
QString fileInFolders(const QString &name, const QString &songFolder, const QStringList &lyricDirs)
{
    for (const QString &folder : QStringList{songFolder} + lyricDirs) {
        QString path = existingFile(folder, name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// Adds the items of the first text that holds a timed line.
bool addEmbeddedLyric(const QStringList &texts, LyricList &list)
{
    for (const QString &text : texts) {
        const QStringList items = parseLyricText(text);
        // Every text gives its header item; only timed lines make lyrics.
        if (items.size() > 1) {
            list.insert(items);
            list.select(0);
            return true;
        }
    }
    return false;
}

} // namespace

QString lyricFilePath(const QString &songPath)
{
    const qsizetype nameStart = songPath.lastIndexOf(u'/') + 1;
    const qsizetype dot = songPath.lastIndexOf(u'.');
    if (dot < nameStart)
        return songPath + QStringLiteral(".lrc");
    return songPath.first(dot + 1) + QStringLiteral("lrc");
}

LyricLookup FindLyric(const QString &candidate, const QStringList &lyricDirs, LyricList &list)
{
    const QFileInfo candidateFile(candidate);
    const QString name = candidateFile.fileName();
    if (name.isEmpty())
        return LyricLookup::NotFound;
    const QString besideSong = existingFile(candidateFile.path(), name);
    if (!besideSong.isEmpty())
        return ParseLyricFile(besideSong, list) ? LyricLookup::Found : LyricLookup::Unreadable;
    for (const QString &folder : lyricDirs) {
        const QString path = existingFile(folder, name);
        if (!path.isEmpty())
            return ParseLyricFile(path, list) ? LyricLookup::Found : LyricLookup::NotFound;
    }
    return LyricLookup::NotFound;
}

bool FindSongLyric(const QString &songPath, const QStringList &lyricDirs,
                   const SongTagReader &readTags, LyricList &list)
{
    if (FindLyric(lyricFilePath(songPath), lyricDirs, list) == LyricLookup::Found)
        return true;
    if (!readTags)
        return false;
    const SongTags tags = readTags(songPath);
    const QString artist = tags.artist.trimmed();
    const QString title = tags.title.trimmed();
    const QString songFolder = QFileInfo(songPath).path();
    for (const QString &name :
         {artist.isEmpty() || title.isEmpty() ? QString()
                                              : tagFileName(artist + QStringLiteral(" - ") + title),
          tagFileName(title)}) {
        const QString path =
            name.isEmpty() ? QString() : fileInFolders(name, songFolder, lyricDirs);
        if (!path.isEmpty() && ParseLyricFile(path, list))
            return true;
    }
    return addEmbeddedLyric(tags.lyricTexts, list);
}

bool OpenLyric(LyricFileChooser &chooser, LyricList &list)
{
    const QString path = chooser.chooseLyricFile();
    return !path.isEmpty() && ParseLyricFile(path, list);
}
