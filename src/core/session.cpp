#include "core/session.h"

#include <utility>

#include <QDir>
#include <QLoggingCategory>
#include <QMutex>

#include "core/playlist.h"
#include "persist/listfiles.h"

namespace {

Q_LOGGING_CATEGORY(lcSession, "zorvan.session")

// The kind of the queue's jobs that write the list: a newer one drops those still waiting.
constexpr int ListWriteJob = 1;

} // namespace

// The playlist file as the user-interface thread and the queue's writes both see it. A write
// holds `mutex` from start to end, so the shutdown's write waits for one under way, and none
// starts after the shutdown's.
struct Session::ListFile
{
    QMutex mutex;
    // The songs the file holds, as read or last written; none when not known.
    std::optional<QStringList> songs;
    bool isClosed = false;
};

Session::Session(const QString &dataFolder, QObject *parent)
    : QObject(parent), m_dataFolder(dataFolder), m_listFile(std::make_shared<ListFile>())
{}

QString Session::path(File file) const
{
    static const char *const names[] = {"zorvan.set", "zorvan.m3u", "zorvan.pic", "zorvan.lyr"};
    return QDir(m_dataFolder).filePath(QLatin1String(names[int(file)]));
}

void Session::endRun()
{
    m_appRunning = false;
}

void Session::setSettings(const SettingsRecord &settings)
{
    if (m_settings == settings)
        return;
    m_settings = settings;
    emit settingsChanged();
}

void Session::setLiveState(std::function<void(SettingsRecord &)> fill)
{
    m_liveState = std::move(fill);
}

SettingsRecord Session::withLiveState(SettingsRecord settings) const
{
    if (m_liveState)
        m_liveState(settings);
    return settings;
}

void Session::setListPic(const QStringList &pictures, int shownPicture)
{
    m_pictures = pictures;
    m_shownPicture = shownPicture;
    emit picturesChanged();
}

void Session::setShownPicture(int index)
{
    m_shownPicture = index;
}

void Session::setListLyricDir(const QStringList &folders)
{
    if (m_lyricFolders == folders)
        return;
    m_lyricFolders = folders;
    emit lyricFoldersChanged();
}

ReadResult<SettingsLoad> Session::load()
{
    SettingsRecord settings = m_settings;
    ReadResult<SettingsLoad> result = LoadSettings(path(File::Settings), settings);
    m_settingsReadError = result.error;
    reportUnreadable(File::Settings, m_settingsReadError);
    setSettings(settings);
    loadListPic();
    loadListLyricDir();
    return result;
}

void Session::loadListPic()
{
    const ReadResult<ListFileEntries> pictures = LoadPicList(path(File::Pictures), m_dataFolder);
    if (pictures.isRead()) {
        const ListContents contents =
            picListContents(pictures.value, ListSelection::FirstAfterEndMark);
        setListPic(contents.items, contents.selected);
    }
    reportUnreadable(File::Pictures, pictures.error);
}

void Session::loadListLyricDir()
{
    const ReadResult<ListFileEntries> folders = LoadLyricDirList(path(File::LyricFolders));
    if (folders.isRead())
        setListLyricDir(folders.value.items);
    reportUnreadable(File::LyricFolders, folders.error);
}

WriteResult Session::saveSettings(const SettingsRecord &settings)
{
    const SettingsRecord kept = withLiveState(settings);
    WriteResult written = SaveSettings(path(File::Settings), kept);
    if (written.ok) {
        m_settingsReadError.clear();
        setSettings(kept);
    }
    return written;
}

WriteResult Session::replaceListPic(const QStringList &pictures)
{
    WriteResult written = SavePicList(path(File::Pictures), pictures);
    if (written.ok)
        loadListPic();
    return written;
}

WriteResult Session::replaceListLyricDir(const QStringList &folders)
{
    WriteResult written = SaveLyricDirList(path(File::LyricFolders), folders);
    if (written.ok)
        loadListLyricDir();
    return written;
}

// A long list shows, and its first song loads, from its first lines while the rest is read.
void Session::loadSavedList(std::function<void(const PlaylistEntries &)> done)
{
    constexpr qint64 headBytes = 64 * 1024;
    m_isSavedListLoading = true;
    m_work.add([file = path(File::Playlist)] { return LoadPlaylistHead(file, headBytes); },
               [this, done = std::move(done)](const ReadResult<PlaylistHead> &head) {
                   if (!head.isRead() || head.value.isWhole) {
                       takeSavedList({head.status, head.value.entries, head.error}, 0, done);
                       return;
                   }
                   const PlaylistEntries &first = head.value.entries;
                   if (m_appRunning && !first.songs.isEmpty()) {
                       m_savedListShown = first.songs.size();
                       done(first);
                   }
                   m_work.add([file = path(File::Playlist)] { return LoadPlaylist(file); },
                              [this, shown = first.songs.size(),
                               done](const ReadResult<PlaylistEntries> &saved) {
                                  takeSavedList(saved, shown, done);
                              });
               });
}

void Session::takeSavedList(const ReadResult<PlaylistEntries> &saved, qsizetype shown,
                            const std::function<void(const PlaylistEntries &)> &done)
{
    m_isSavedListLoading = false;
    m_isSavedListTaken = true;
    m_savedListReadError = saved.error;
    reportUnreadable(File::Playlist, m_savedListReadError);
    if (saved.isRead()) {
        const QMutexLocker locker(&m_listFile->mutex);
        m_listFile->songs = saved.value.songs;
    }
    if (m_appRunning)
        done(shown == 0
                 ? saved.value
                 : PlaylistEntries{saved.value.songs.mid(shown), saved.value.infos.mid(shown)});
}

void Session::reportUnreadable(File file, const QString &error) const
{
    if (!error.isEmpty())
        qCWarning(lcSession).noquote()
            << QStringLiteral("cannot read %1: %2").arg(path(file), error);
}

QList<Session::WriteFailure> Session::save(const QStringList &songs)
{
    setSettings(withLiveState(m_settings));
    QList<WriteFailure> failures;
    const auto keep = [&failures](const QString &path, const WriteResult &result) {
        if (!result.ok)
            failures.append({path, result.error});
    };
    const auto leftAsItWas = [](const QString &readError) {
        return WriteResult{false, QStringLiteral("left as it was, since it could not be read "
                                                 "when the player started: %1")
                                      .arg(readError)};
    };
    keep(path(File::Settings), m_settingsReadError.isEmpty()
                                   ? SaveSettings(path(File::Settings), m_settings)
                                   : leftAsItWas(m_settingsReadError));
    if (!m_savedListReadError.isEmpty()) {
        keep(path(File::Playlist), leftAsItWas(m_savedListReadError));
    } else {
        const QMutexLocker locker(&m_listFile->mutex);
        m_listFile->isClosed = true;
        QStringList list = songs;
        if (m_isSavedListLoading) {
            // A quit before the saved list has all come writes the list it would have become:
            // what the list holds, then the saved songs not yet shown, so that neither the
            // songs that came meanwhile nor the rest of the file are lost.
            const ReadResult<PlaylistEntries> saved = LoadPlaylist(path(File::Playlist));
            if (!saved.error.isEmpty()) {
                keep(path(File::Playlist), leftAsItWas(saved.error));
                return failures;
            }
            m_listFile->songs = saved.value.songs;
            list += saved.value.songs.mid(m_savedListShown);
        }
        if (m_listFile->songs != list) {
            const WriteResult written = SavePlaylist(path(File::Playlist), list);
            if (written.ok)
                m_listFile->songs = list;
            keep(path(File::Playlist), written);
        }
    }
    return failures;
}

void Session::keepWritten(const Playlist &list)
{
    const auto write = [this, &list] {
        if (!m_isSavedListTaken || !m_savedListReadError.isEmpty())
            return;
        m_work.add(
            [file = m_listFile, path = path(File::Playlist), songs = list.songs()] {
                const QMutexLocker locker(&file->mutex);
                if (file->isClosed || file->songs == songs)
                    return false;
                const bool written = SavePlaylist(path, songs).ok;
                if (written)
                    file->songs = songs;
                return written;
            },
            [](bool) {}, ListWriteJob);
    };
    connect(&list, &Playlist::rowsInserted, this, write);
    connect(&list, &Playlist::rowsRemoved, this, write);
    connect(&list, &Playlist::modelReset, this, write);
}
