#include "core/commandline.h"

#include <algorithm>

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "core/playlistadditions.h"
#include "persist/playlistfile.h"

namespace {

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
            result.problems.append(QStringLiteral("no such file or folder: %1").arg(argument));
        } else if (file.isDir()) {
            const QStringList songs = soundFilesIn(path);
            result.songs += songs;
            result.infos += songs;
        } else if (isPlaylistFile(path)) {
            QString error;
            const PlaylistEntries entries = LoadPlaylist(path, &error);
            if (!error.isEmpty())
                result.problems.append(QStringLiteral("cannot read %1: %2").arg(path, error));
            result.songs += entries.songs;
            result.infos += entries.infos;
        } else {
            result.songs.append(path);
            result.infos.append(path);
        }
    }
    return result;
}
