#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "core/workqueue.h"
#include "persist/playlistfile.h"
#include "persist/settingsfile.h"

class Playlist;

// What the player keeps between runs and what several windows share during one: the
// settings, the slideshow's pictures, the lyric folders and the run flag. `main()` owns the
// one session and hands it to the windows, which show and edit it and keep no copy.
//
// Its four files lie in the data folder (normally ~/.config/zorvan).
class Session : public QObject
{
    Q_OBJECT

public:
    enum class File { Settings, Playlist, Pictures, LyricFolders };

    // A file that could not be written at shutdown, and why.
    struct WriteFailure
    {
        QString path;
        QString error;
    };

    explicit Session(const QString &dataFolder, QObject *parent = nullptr);

    QString path(File file) const;
    // The folder of the player's own files (normally ~/.config/zorvan).
    QString dataFolder() const { return m_dataFolder; }

    // True from start-up until the shutdown begins; once false, nothing new is started.
    bool AppRunning() const { return m_appRunning; }
    void endRun();

    const SettingsRecord &settings() const { return m_settings; }
    void setSettings(const SettingsRecord &settings);
    // What the running player knows better than the settings: the window's place and the
    // volume. `fill` writes them into a record; every write of the settings file calls it,
    // so that the file holds them as they are at that moment. None until set.
    void setLiveState(std::function<void(SettingsRecord &)> fill);

    // The slideshow's pictures (full paths) and the one shown last (-1 for none).
    const QStringList &ListPic() const { return m_pictures; }
    int shownPicture() const { return m_shownPicture; }
    void setListPic(const QStringList &pictures, int shownPicture);
    void setShownPicture(int index);

    // The folders searched for a song's lyric file after the song's own folder, in order.
    const QStringList &ListLyricDir() const { return m_lyricFolders; }
    void setListLyricDir(const QStringList &folders);

    // Start-up: the settings, then the picture list, then the lyric folders. A list whose
    // file is missing or unreadable stays as it is. Returns how the settings file read.
    ReadResult<SettingsLoad> load();
    // Reads the playlist the previous run saved off the user-interface thread and hands its
    // entries to `done` there, unless the run has ended by then: a long list in two parts,
    // its first lines, then the rest. Until all has come, save() leaves the file as it is.
    void loadSavedList(std::function<void(const PlaylistEntries &)> done);
    bool isSavedListLoading() const { return m_isSavedListLoading; }
    // The options dialog's confirmation, one file at a time; the session takes on only what
    // was written. `settings` are written with the live state, also when the file there at
    // start-up could not be read (the user has just confirmed what it is to hold), and held
    // from then on; not written, the session's settings stay as they were. The two lists are
    // written, then read back into the session as at start-up, so the session holds what
    // the next start will find (the first picture selected: the slideshow starts its cycle
    // again). A list that could not be written stays as it was.
    WriteResult saveSettings(const SettingsRecord &settings);
    WriteResult replaceListPic(const QStringList &pictures);
    WriteResult replaceListLyricDir(const QStringList &folders);
    // Shutdown: the settings, the live state taken into them, then the playlist `songs`.
    // Every file is tried; the ones that could not be written are returned. A file that
    // exists but could not be read at start-up is left as it is (and returned), so nothing
    // the player did not understand is overwritten. The playlist is not written when it holds
    // just what was read from it or last written to it; while it is still being read, the
    // saved songs not yet shown are written after `songs`.
    // A quit during a write waits for it, so that the file is whole, and then writes `songs`
    // if the file holds others. Called once, at shutdown: later ones still write, but nothing
    // is written in the background any more.
    QList<WriteFailure> save(const QStringList &songs);
    // Writes the songs of `list` as the saved list on the session's queue whenever they
    // change once the saved list has come (see loadSavedList), the newest only, so that the
    // quit finds a long list written already. A write that fails is tried again by save().
    void keepWritten(const Playlist &list);

signals:
    void settingsChanged();
    void picturesChanged();
    void lyricFoldersChanged();

private:
    struct ListFile;

    // Takes the saved list as read and hands `done` its entries from `shown` on.
    void takeSavedList(const ReadResult<PlaylistEntries> &saved, qsizetype shown,
                       const std::function<void(const PlaylistEntries &)> &done);
    // Tells on stderr why an existing file could not be read.
    void reportUnreadable(File file, const QString &error) const;
    // Read the list files into the session; a list whose file is missing or unreadable
    // stays as it is.
    void loadListPic();
    void loadListLyricDir();

    // The settings with the live state filled in.
    SettingsRecord withLiveState(SettingsRecord settings) const;

    QString m_dataFolder;
    std::function<void(SettingsRecord &)> m_liveState;
    bool m_appRunning = true;
    SettingsRecord m_settings;
    QStringList m_pictures;
    int m_shownPicture = -1;
    QStringList m_lyricFolders;
    // Why the settings file and the saved list, there at start-up, could not be read; empty
    // when they could (or were not there).
    QString m_settingsReadError;
    QString m_savedListReadError;
    // The playlist file, shared with the writes on the queue.
    std::shared_ptr<ListFile> m_listFile;
    bool m_isSavedListLoading = false;
    // Whether the saved list has come: until then the list is not the one to write.
    bool m_isSavedListTaken = false;
    // How many of the saved list's songs the list was given before the rest came.
    qsizetype m_savedListShown = 0;
    WorkQueue m_work;
};
