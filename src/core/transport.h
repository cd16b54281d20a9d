#pragma once

#include <functional>
#include <optional>

#include <QObject>
#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>

#include "core/mediacontrol.h"
#include "core/playlist.h"
#include "core/playlistfeed.h"
#include "core/playorder.h"
#include "core/workqueue.h"
#include "lyrics/songtags.h"

struct CommandLineSongs;
struct PlaylistEntries;
class DisplayLabels;
class LyricFileChooser;
class PlaybackPosition;
class Session;

// Playing, pausing and stopping, and the play order along the playlist `ListSong` (see
// PlayOrder: shuffled with 随机, around again after the end with 循环).
//
// A request for music (play, next or previous while playing, the end of a track, start-up)
// opens the current entry; the backend answers later. An entry that cannot be played is
// skipped in the direction of the request along the play order, one queued step per entry,
// until one plays or every entry has failed once; a track that breaks off while playing
// counts as a failure too, so a list where nothing plays to its end stops after one pass.
// So does a pass in which no track played for ShortestPlaySeconds (a list of clicks would
// otherwise start a track many times a second). Each open carries a serial, and every
// answer whose serial is not the one awaited is dropped: a replaced track never moves the
// playlist. A new command cancels the step queued before it.
//
// While a track plays, the backend is told the entry that follows it in the play order, so
// that it can start it without a gap; it is told again whenever that entry changes. When
// it follows on, the entry becomes the current one as if it had been opened.
//
// The lyrics of a track are looked up on the transport's worker (see WorkQueue), so a slow
// or dead folder never holds up the window; they are shown when they arrive, unless another
// track has started meanwhile. A lookup still waiting behind a stuck one is replaced by the
// next track's. The song's tags, for lyrics named after them or embedded in the song, are
// read there too, by `readTags` (see FindSongLyric).
class Transport : public QObject
{
    Q_OBJECT

public:
    Transport(MediaControl &media, Session &session, DisplayLabels &labels,
              PlaybackPosition &position, SongTagReader readTags = {}, QObject *parent = nullptr);

    Playlist &ListSong() { return m_playlist; }
    const Playlist &ListSong() const { return m_playlist; }
    // The program starts paused with nothing loaded.
    enum class PlayState { Stopped, Playing, Paused };
    PlayState playState() const { return m_state; }
    bool PlayingFlag() const { return m_state == PlayState::Playing; }
    bool PausedFlag() const { return m_state == PlayState::Paused; }
    // A track that played less than this, in its own time, counts as nothing played.
    static constexpr double ShortestPlaySeconds = 0.5;

    // The two toggles of the skin, not saved: around again after the end of the list (on at
    // start), and shuffled (off at start). Without the loop, playback stops after the last
    // entry (at its end, stopped); next and previous wrap around either way.
    bool LoopMode() const { return m_order.loops(); }
    bool RandomMode() const { return m_order.isShuffled(); }
    void setLoopMode(bool on);
    void setRandomMode(bool on);
    // The order along the list; tests give it a random source of their own.
    PlayOrder &playOrder() { return m_order; }
    // True while a track is coming, songs are still joining the list, lyrics are being looked
    // up or the saved list is read.
    bool isBusy() const;
    // True while an open is awaited or a skip step is queued: the track that is to play has
    // not opened yet, so the commands shape how it starts.
    bool isTrackComing() const
    {
        return m_request.awaited.has_value() || m_request.queuedSkip.has_value();
    }
    // The track loaded, named by the serial of its open; 0 while none is (before the first,
    // while the next one opens, after a failure and after the shutdown).
    quint64 loadedTrack() const { return m_loadedSerial; }

    // Starts the current entry from its beginning (also when it is the paused one).
    void PlaySong();
    // Pause, or resume where the track stood (from its start when it stood at its end after
    // the play order ended).
    void PauseSong();
    // Pause and back to the start; a paused player stays paused.
    void StopSong();
    // The next or previous entry of the play order, with wrap-around; it plays when the
    // player plays, otherwise only the highlight moves.
    void NextSong();
    void PreviousSong();
    // Removes the highlighted entries; the track goes on playing.
    void DelSelectedSong();
    // Lets the user add the lines of a lyric file of their choice to the current lyrics.
    void OpenLyric(LyricFileChooser &chooser);

    // Songs of the command line at start-up, or handed to the running player (by a later
    // start, or by a remote open): they join the list after those still coming (see
    // PlaylistFeed), and the first of them plays as soon as it is in the list. When they
    // turn out to hold no song, `ifNone` runs instead. Nothing while shutting down.
    void openSongs(const CommandLineSongs &songs, std::function<void()> ifNone = {});
    // More songs of the same later start: they join the list after those, nothing plays.
    void addSongs(const CommandLineSongs &songs);
    // Start-up without them: the list saved by the previous run comes back with its first
    // playable song loaded and paused at its start, without a moment of sound. Entries that
    // find the list holding songs (the rest of a long list, or songs added while it was read)
    // only go at its end.
    void restoreList(const PlaylistEntries &saved);
    // The first step of the shutdown: cancels what is under way (songs still joining the list
    // too), stops the timer, clears the play state and releases the track.
    void shutDown();

signals:
    // playState() changed, and with it PlayingFlag or PausedFlag.
    void flagsChanged();
    void modesChanged();
    // loadedTrack() changed.
    void trackChanged();
    // The backend has told a new length of the loaded track.
    void lengthChanged();

private:
    enum class StartMode { Play, Cue };
    // What the backend or the queued skip step tells about an open, named by its serial.
    enum class Event { Opened, Failed, Ended, Followed, SkipDue };

    // The user's newest wish for music and how far it has come. A request opens the current
    // entry; entries that fail are skipped in `direction`, for one pass.
    struct Request
    {
        // Whether the entry that opens plays or waits paused at its start.
        StartMode mode = StartMode::Play;
        // 1: on along the play order; -1: back.
        int direction = 1;
        // Whether the skips wrap around the end of the order (a request of the user's) or
        // only while it loops (the end of a track).
        PlayOrder::End end = PlayOrder::End::Wrap;
        // How many more failures (or tracks that played too briefly) end the request.
        int failuresLeft = 0;
        // The serial of the open awaited; none once it has answered.
        std::optional<quint64> awaited;
        // The serial of the failed open whose skip step is queued; the step runs only while
        // this still holds it.
        std::optional<quint64> queuedSkip;
        // The path of the track awaited or loaded, and its entry.
        QString path;
        QPersistentModelIndex entry;
    };

    // The entry the backend may follow the loaded track with.
    struct Queued
    {
        quint64 serial = 0;
        QPersistentModelIndex entry;
        QString path;
    };

    // A new request, which opens the current entry.
    void request(StartMode mode, int direction, PlayOrder::End end = PlayOrder::End::Wrap);
    void startCurrentEntry();
    // The one place where answers move the play state and the list: drops what belongs to an
    // earlier open and decides the next step. `failure` tells what went wrong for Failed.
    void handle(Event event, quint64 serial, const QString &failure = {});
    void startLoadedTrack(quint64 serial);
    // The loaded track `serial` is the current one now: length, lyrics, labels.
    void showTrack(quint64 serial);
    // The loaded track played to its end, and the queued one has followed on (`follower`)
    // or not (0).
    void trackEnded(quint64 follower);
    // Nothing more plays: stopped, the track at its end.
    void stopAtEnd();
    // Tells the backend the entry that follows the loaded track, when it changed.
    void queueFollower();
    void withdrawFollower();
    void findLyrics(quint64 serial, const QString &songPath);
    // Next (1) or previous (-1): the current entry moves, and the track plays if one did.
    void step(int direction);
    // One step along the play order from the entry `from`: the entry reached becomes the
    // current one. False where the order ends.
    bool moveAlongOrder(int from, int direction, PlayOrder::End end);
    // `row` becomes the current entry and the only one it brings highlighted.
    void makeCurrent(int row);
    void setState(PlayState state);
    void setLoadedSerial(quint64 serial);
    QString songLine() const;

    MediaControl &m_media;
    Session &m_session;
    DisplayLabels &m_labels;
    PlaybackPosition &m_position;
    Playlist m_playlist;
    PlaylistFeed m_feed{m_playlist};
    PlayOrder m_order;
    PlayState m_state = PlayState::Paused;

    // The serial of the newest open.
    quint64 m_serial = 0;
    // The serial of the track loaded; 0 for none.
    quint64 m_loadedSerial = 0;
    // The length of the loaded track in seconds, as the backend last told it.
    double m_trackLength = 0;
    Request m_request;
    std::optional<Queued> m_queued;
    // While the current entry moves to the entry about to open, the follower waits.
    bool m_isOpeningNext = false;
    // The loaded track stands at its end after the play order ended there: resuming starts
    // it again.
    bool m_isAtEnd = false;
    SongTagReader m_readTags;
    WorkQueue m_lyricLookups;
};
