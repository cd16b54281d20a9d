#include "lyrics/lyriclookup.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include "lyrics/lyricfilechooser.h"
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

bool OpenLyric(LyricFileChooser &chooser, LyricList &list)
{
    const QString path = chooser.chooseLyricFile();
    return !path.isEmpty() && ParseLyricFile(path, list);
}
