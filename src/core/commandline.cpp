#include "core/commandline.h"

#include <algorithm>

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "core/playlistadditions.h"
#include "persist/playlistfile.h"

namespace {

// PATH_MAX: a path's bytes with the closing NUL.
constexpr qsizetype LongestPathBytes = 4096;

const QStringList SoundFilePatterns{QStringLiteral("*.mp3"), QStringLiteral("*.wma"),
                                    QStringLiteral("*.wav")};

QString localPath(const QString &argument, const QString &workingFolder)
{
    const QUrl url(argument);
    const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
    return QDir(workingFolder).absoluteFilePath(path);
}

QStringList soundFilesIn(const QString &folder)
{
    const QDir dir(folder);
    QStringList names = dir.entryList(SoundFilePatterns, QDir::Files | QDir::Readable);
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), collator);
    for (QString &name : names)
        name = dir.filePath(name);
    return names;
}

// Why `path`, given as `argument`, names nothing: a name the system cannot hold is told as
// such rather than as a missing file.
QString whyMissing(const QString &argument, const QString &path)
{
    // The application decodes its arguments as UTF-8, and bytes that are not become U+FFFD:
    // the file on the disk has a name this player cannot ask for.
    if (argument.contains(QChar::ReplacementCharacter))
        return QStringLiteral("the name is not valid UTF-8: %1").arg(argument);
    if (QFile::encodeName(path).size() >= LongestPathBytes)
        return QStringLiteral("the path is longer than %1 bytes: %2")
            .arg(LongestPathBytes - 1)
            .arg(argument);
    return QStringLiteral("no such file or folder: %1").arg(argument);
}

} // namespace

CommandLineSongs songsFromArguments(const QStringList &arguments, const QString &workingFolder)
{
    CommandLineSongs result;
    for (const QString &argument : arguments) {
        if (isStreamAddress(argument)) {
            result.songs.append(argument);
            result.infos.append(argument);
            continue;
        }
        const QString path = localPath(argument, workingFolder);
        const QFileInfo file(path);
        if (!file.exists()) {
            result.problems.append(whyMissing(argument, path));
        } else if (file.isDir()) {
            const QStringList songs = soundFilesIn(path);
            result.songs += songs;
            result.infos += songs;
        } else if (isPlaylistFile(path)) {
            const ReadResult<PlaylistEntries> read = LoadPlaylist(path);
            if (!read.error.isEmpty())
                result.problems.append(QStringLiteral("cannot read %1: %2").arg(path, read.error));
            result.songs += read.value.songs;
            result.infos += read.value.infos;
        } else {
            result.songs.append(path);
            result.infos.append(path);
        }
    }
    return result;
}
