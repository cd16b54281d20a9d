#include "core/commandline.h"

#include <algorithm>
#include <array>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "core/playlistadditions.h"
#include "persist/playlistfile.h"

namespace {

// PATH_MAX: a path's bytes with the closing NUL.
constexpr qsizetype LongestPathBytes = 4096;

// The order of SoundFolder's files.
constexpr auto ByKey = [](const auto &a, const auto &b) { return a.first < b.first; };

constexpr std::array SoundFileEndings{QLatin1StringView(".mp3"), QLatin1StringView(".wma"),
                                      QLatin1StringView(".wav")};

QString localPath(const QString &argument, const QString &workingFolder)
{
    const QUrl url(argument);
    const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
    return QDir(workingFolder).absoluteFilePath(path);
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
            result.folders.append({result.songs.size(), path});
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

void SoundFolder::list(const QString &folder)
{
    // Matched by hand rather than by QDir's name filters, which cost far more in big folders.
    const auto isSoundFile = [](const QString &name) {
        return std::any_of(SoundFileEndings.begin(), SoundFileEndings.end(),
                           [&name](QLatin1StringView ending) {
                               return name.endsWith(ending, Qt::CaseInsensitive);
                           });
    };
    QCollator collator;
    collator.setNumericMode(true);
    m_folder.setPath(folder);
    m_files.clear();
    for (QDirIterator entry(folder, QDir::Files); entry.hasNext();) {
        entry.next();
        if (QString name = entry.fileName(); isSoundFile(name))
            m_files.emplace_back(collator.sortKey(name), std::move(name));
    }
}

QString SoundFolder::first() const
{
    // The earliest listed of the smallest, as the stable sort puts first.
    const auto first = std::min_element(m_files.begin(), m_files.end(), ByKey);
    return first == m_files.end() ? QString() : m_folder.filePath(first->second);
}

QStringList SoundFolder::sorted(qsizetype skip)
{
    std::stable_sort(m_files.begin(), m_files.end(), ByKey);
    QStringList paths;
    paths.reserve(qsizetype(m_files.size()) - skip);
    for (auto file = m_files.begin() + skip; file != m_files.end(); ++file)
        paths.append(m_folder.filePath(file->second));
    return paths;
}

QStringList readableFiles(const QStringList &paths)
{
    QStringList readable;
    for (const QString &path : paths) {
        if (QFileInfo(path).isReadable())
            readable.append(path);
    }
    return readable;
}
