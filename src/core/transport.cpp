#include "core/transport.h"

#include <algorithm>
#include <utility>

#include <QLoggingCategory>
#include <QScopedValueRollback>

#include "core/commandline.h"
#include "core/displaylabels.h"
#include "core/playbackposition.h"
#include "core/rounding.h"
#include "core/session.h"
#include "core/songline.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyriclookup.h"
#include "persist/playlistfile.h"

// Which tracks start, for diagnosis ("zorvan.playback.debug=true" in Qt's logging rules);
// tracks that cannot be played are always told on stderr.
Q_LOGGING_CATEGORY(lcPlayback, "zorvan.playback", QtWarningMsg)

namespace {

// The kind of the lyric lookups on the worker: only the newest one waiting counts.
constexpr int LyricLookupJob = 1;

QString failureText(MediaControl::Failure reason, const QString &detail)
{
    QString text;
    switch (reason) {
    case MediaControl::Failure::Missing:
        text = QStringLiteral("missing or unreadable");
        break;
    case MediaControl::Failure::NotAudio:
        text = QStringLiteral("no sound that can be decoded");
        break;
    case MediaControl::Failure::CannotDecode:
        text = QStringLiteral("the sound breaks off");
        break;
    case MediaControl::Failure::TimedOut:
        text = QStringLiteral("opening timed out");
        break;
    }
    if (!detail.isEmpty())
        text += QStringLiteral(" (%1)").arg(detail);
    return text;
}

} // namespace

Transport::Transport(MediaControl &media, Session &session, DisplayLabels &labels,
                     PlaybackPosition &position, SongTagReader readTags, QObject *parent)
    : QObject(parent), m_media(media), m_session(session), m_labels(labels), m_position(position),
      m_readTags(std::move(readTags))
{
    connect(&m_media, &MediaControl::opened, this,
            [this](quint64 serial) { handle(Event::Opened, serial); });
    connect(&m_media, &MediaControl::failed, this,
            [this](quint64 serial, MediaControl::Failure reason, const QString &detail) {
                handle(Event::Failed, serial, failureText(reason, detail));
            });
    connect(&m_media, &MediaControl::endOfStream, this,
            [this](quint64 serial) { handle(Event::Ended, serial); });
    connect(&m_media, &MediaControl::followed, this,
            [this](quint64 serial) { handle(Event::Followed, serial); });
    connect(&m_media, &MediaControl::durationChanged, this, [this](quint64 serial) {
        if (serial == 0 || serial != m_loadedSerial)
            return;
        m_trackLength = m_media.duration();
        m_position.setSongSeconds(int(roundHalfEven(m_trackLength)));
        emit lengthChanged();
    });

    // The order follows the list; the follower of the loaded track follows both.
    connect(&m_playlist, &Playlist::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) {
                m_order.insertRows(first, last - first + 1);
                queueFollower();
            });
    connect(&m_playlist, &Playlist::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) {
                m_order.removeRows(first, last - first + 1);
                queueFollower();
            });
    connect(&m_playlist, &Playlist::modelReset, this, [this] {
        m_order.reset(m_playlist.count());
        queueFollower();
    });
    connect(m_playlist.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { queueFollower(); });
    connect(&m_position, &PlaybackPosition::seeked, this, [this] { m_isAtEnd = false; });
}

void Transport::setLoopMode(bool on)
{
    if (m_order.loops() == on)
        return;
    m_order.setLooping(on);
    emit modesChanged();
    queueFollower();
}

void Transport::setRandomMode(bool on)
{
    if (m_order.isShuffled() == on)
        return;
    m_order.setShuffled(on);
    emit modesChanged();
    queueFollower();
}

void Transport::PlaySong()
{
    if (!m_session.AppRunning() || m_playlist.song(m_playlist.CurrentEntry()).isEmpty())
        return;
    request(StartMode::Play, 1);
}

void Transport::PauseSong()
{
    if (m_state == PlayState::Paused) {
        if (m_media.fileName().isEmpty() && !m_request.queuedSkip)
            return;
        if (m_isAtEnd) {
            request(StartMode::Play, 1);
            return;
        }
        if (isTrackComing()) {
            // The track being found plays as soon as it opens.
            m_request.mode = StartMode::Play;
        } else {
            m_media.play();
            m_position.setRunning(true);
        }
        setState(PlayState::Playing);
        queueFollower();
        return;
    }
    if (isTrackComing())
        m_request.mode = StartMode::Cue;
    m_media.pause();
    m_position.setRunning(false);
    setState(PlayState::Paused);
}

void Transport::StopSong()
{
    if (isTrackComing())
        m_request.mode = StartMode::Cue;
    m_media.pause();
    m_media.setCurrentPosition(0);
    m_isAtEnd = false;
    m_position.setRunning(false);
    m_position.rewindLyrics();
    if (m_state == PlayState::Playing)
        setState(PlayState::Stopped);
}

void Transport::NextSong()
{
    step(1);
}

void Transport::PreviousSong()
{
    step(-1);
}

void Transport::step(int direction)
{
    if (m_playlist.count() == 0)
        return;
    m_request.queuedSkip.reset();
    moveAlongOrder(m_playlist.CurrentEntry(), direction, PlayOrder::End::Wrap);
    if (m_state == PlayState::Playing && m_session.AppRunning())
        request(StartMode::Play, direction);
}

void Transport::DelSelectedSong()
{
    m_playlist.removeHighlighted();
}

void Transport::OpenLyric(LyricFileChooser &chooser)
{
    ::OpenLyric(chooser, m_position.ListLyric());
}

void Transport::request(StartMode mode, int direction, PlayOrder::End end)
{
    m_request.queuedSkip.reset();
    m_request.mode = mode;
    m_request.direction = direction;
    m_request.end = end;
    m_request.failuresLeft = m_playlist.count();
    if (mode == StartMode::Play)
        setState(PlayState::Playing);
    startCurrentEntry();
}

void Transport::startCurrentEntry()
{
    const int row = m_playlist.CurrentEntry();
    const QString path = m_playlist.song(row);
    if (path.isEmpty()) {
        // Nothing is left to play (the list was emptied meanwhile).
        m_request.awaited.reset();
        if (m_request.mode == StartMode::Play && m_loadedSerial == 0)
            setState(PlayState::Stopped);
        return;
    }
    m_order.setCurrent(row);
    m_request.awaited = ++m_serial;
    m_request.path = path;
    m_request.entry = m_playlist.index(row);
    // Opening withdraws the follower.
    m_queued.reset();
    setLoadedSerial(0);
    m_position.setRunning(false);
    m_media.open(m_serial, path);
}

void Transport::handle(Event event, quint64 serial, const QString &failure)
{
    // No open has serial 0; a loaded serial of 0 means nothing is loaded.
    const bool isAwaited = m_request.awaited == serial;
    const bool isLoaded = serial != 0 && serial == m_loadedSerial;
    switch (event) {
    case Event::Opened:
        if (isAwaited) {
            m_request.awaited.reset();
            startLoadedTrack(serial);
        }
        return;
    case Event::Ended:
        if (isLoaded)
            trackEnded(0);
        return;
    case Event::Followed:
        if (serial != 0 && m_queued && m_queued->serial == serial && m_loadedSerial != 0)
            trackEnded(serial);
        return;
    case Event::Failed:
        if (!isAwaited && !isLoaded)
            return;
        qCWarning(lcPlayback).noquote()
            << QStringLiteral("cannot play \"%1\": %2").arg(m_request.path, failure);
        m_request.awaited.reset();
        m_queued.reset();
        setLoadedSerial(0);
        m_position.setRunning(false);
        if (isLoaded) {
            // A track that breaks off while paused leaves the player paused with nothing loaded.
            if (m_state != PlayState::Playing)
                return;
            // Otherwise it ends like a track that played to its end, but it counts against the
            // request that started it.
            m_request.mode = StartMode::Play;
            m_request.direction = 1;
            m_request.end = PlayOrder::End::Follow;
        }
        if (--m_request.failuresLeft <= 0) {
            qCWarning(lcPlayback, "no entry of the list can be played");
            if (m_request.mode == StartMode::Play)
                setState(PlayState::Stopped);
            return;
        }
        // One step per event-loop turn: the window stays alive through a list of broken files,
        // and a command that comes in between cancels the rest.
        m_request.queuedSkip = serial;
        QMetaObject::invokeMethod(
            this, [this, serial] { handle(Event::SkipDue, serial); }, Qt::QueuedConnection);
        return;
    case Event::SkipDue:
        if (m_request.queuedSkip != serial)
            return;
        m_request.queuedSkip.reset();
        if (!m_session.AppRunning())
            return;
        // The skip goes on from the entry that failed, wherever the keys have moved the
        // current entry meanwhile (unless that entry is gone).
        if (!moveAlongOrder(m_request.entry.isValid() ? m_request.entry.row()
                                                      : m_playlist.CurrentEntry(),
                            m_request.direction, m_request.end)) {
            if (m_request.mode == StartMode::Play)
                setState(PlayState::Stopped);
            return;
        }
        startCurrentEntry();
        return;
    }
}

void Transport::trackEnded(quint64 follower)
{
    // The track's own time: the length told, or how far it went when that was short of it.
    // Once a follower has taken over, the position is its own: a length not known then
    // counts as long enough.
    const double played = follower == 0       ? std::max(m_trackLength, m_media.currentPosition())
                          : m_trackLength > 0 ? m_trackLength
                                              : ShortestPlaySeconds;
    const Queued next = follower != 0 ? *m_queued : Queued{};
    m_queued.reset();
    // A track cannot end while paused; if the end crossed a pause, it waits there.
    if (m_state != PlayState::Playing && follower == 0)
        return;
    if (m_playlist.count() == 0) {
        stopAtEnd();
        return;
    }
    const bool playedLong = played >= ShortestPlaySeconds;
    const int failuresLeft = playedLong ? m_playlist.count() : m_request.failuresLeft - 1;
    if (follower == 0) {
        if (failuresLeft <= 0) {
            qCWarning(lcPlayback, "no entry of the list plays for half a second");
            stopAtEnd();
            return;
        }
        if (!moveAlongOrder(m_playlist.CurrentEntry(), 1, PlayOrder::End::Follow)) {
            stopAtEnd();
            return;
        }
        request(StartMode::Play, 1, PlayOrder::End::Follow);
        m_request.failuresLeft = failuresLeft;
        return;
    }
    // The follower is playing already: it becomes the current entry as if it had opened.
    m_request.queuedSkip.reset();
    m_request.awaited.reset();
    m_request.mode = StartMode::Play;
    m_request.direction = 1;
    m_request.end = PlayOrder::End::Follow;
    m_request.failuresLeft = failuresLeft;
    m_request.path = next.path;
    m_request.entry = next.entry;
    showTrack(follower);
    if (next.entry.isValid()) {
        m_order.setCurrent(next.entry.row());
        makeCurrent(next.entry.row());
    }
    if (failuresLeft <= 0) {
        qCWarning(lcPlayback, "no entry of the list plays for half a second");
        StopSong();
        withdrawFollower();
        return;
    }
    m_position.setRunning(m_state == PlayState::Playing);
    queueFollower();
}

void Transport::stopAtEnd()
{
    qCDebug(lcPlayback, "the play order ends here");
    withdrawFollower();
    m_position.setRunning(false);
    m_position.showEnd();
    m_isAtEnd = true;
    setState(PlayState::Stopped);
}

void Transport::queueFollower()
{
    if (m_loadedSerial == 0 || m_state != PlayState::Playing || isTrackComing() ||
        m_isOpeningNext || !m_session.AppRunning() || m_order.count() != m_playlist.count())
        return;
    // A track too short to count, at the end of a pass of them, is followed by nothing.
    const bool endsPass =
        m_trackLength > 0 && m_trackLength < ShortestPlaySeconds && m_request.failuresLeft <= 1;
    const int row = endsPass ? -1 : m_order.upcoming(m_playlist.CurrentEntry());
    const QString path = m_playlist.song(row);
    if (path.isEmpty()) {
        withdrawFollower();
        return;
    }
    if (m_queued && m_queued->path == path && m_queued->entry.row() == row)
        return;
    m_queued = Queued{++m_serial, m_playlist.index(row), path};
    m_media.queueNext(m_queued->serial, path);
}

void Transport::withdrawFollower()
{
    if (!m_queued)
        return;
    m_queued.reset();
    m_media.queueNext(0, QString());
}

void Transport::startLoadedTrack(quint64 serial)
{
    showTrack(serial);
    if (m_request.mode == StartMode::Play) {
        m_media.play();
        m_position.setRunning(true);
        setState(PlayState::Playing);
        queueFollower();
    }
}

void Transport::showTrack(quint64 serial)
{
    qCDebug(lcPlayback).noquote() << QStringLiteral("starting \"%1\"").arg(m_request.path);
    m_trackLength = m_media.duration();
    m_position.startTrack(int(roundHalfEven(m_trackLength)));
    findLyrics(serial, m_request.path);
    const QString line = songLine();
    m_labels.setText(DisplayLabels::Label::LTxtMin, QString());
    m_labels.setText(DisplayLabels::Label::LTxtMax, line);
    m_labels.setText(DisplayLabels::Label::LInfo, line);
    setLoadedSerial(serial);
}

void Transport::findLyrics(quint64 serial, const QString &songPath)
{
    m_lyricLookups.add(
        [songPath, folders = m_session.ListLyricDir(), readTags = m_readTags] {
            LyricList lyrics;
            FindSongLyric(songPath, folders, readTags, lyrics);
            return lyrics;
        },
        [this, serial](const LyricList &lyrics) {
            if (serial == m_loadedSerial)
                m_position.setLyrics(lyrics);
        },
        LyricLookupJob);
}

bool Transport::moveAlongOrder(int from, int direction, PlayOrder::End end)
{
    const int row = m_order.step(from, direction, end);
    if (row < 0)
        return false;
    // When the move opens the entry, the open withdraws the follower anyway.
    const QScopedValueRollback opening(m_isOpeningNext, m_state == PlayState::Playing);
    makeCurrent(row);
    return true;
}

void Transport::makeCurrent(int row)
{
    const int current = m_playlist.CurrentEntry();
    if (current >= 0)
        m_playlist.setHighlighted(current, false);
    m_playlist.setCurrentEntry(row);
    m_playlist.setHighlighted(row, true);
}

void Transport::openSongs(const CommandLineSongs &songs, std::function<void()> ifNone)
{
    if (!m_session.AppRunning() || songs.isEmpty())
        return;
    m_feed.add(songs, [this, ifNone = std::move(ifNone)](int first) {
        if (first >= 0) {
            makeCurrent(first);
            PlaySong();
        } else if (ifNone) {
            ifNone();
        }
    });
}

void Transport::addSongs(const CommandLineSongs &songs)
{
    if (m_session.AppRunning())
        m_feed.add(songs);
}

bool Transport::isBusy() const
{
    return isTrackComing() || m_feed.isFilling() || m_lyricLookups.pendingJobs() > 0 ||
           m_session.isSavedListLoading();
}

void Transport::restoreList(const PlaylistEntries &saved)
{
    const bool wasEmpty = m_playlist.count() == 0;
    m_playlist.append(saved.songs, saved.infos);
    if (!wasEmpty || m_playlist.count() == 0)
        return;
    makeCurrent(0);
    request(StartMode::Cue, 1);
}

void Transport::shutDown()
{
    m_feed.cancel();
    m_request.queuedSkip.reset();
    m_request.awaited.reset();
    m_queued.reset();
    setLoadedSerial(0);
    m_position.setRunning(false);
    setState(PlayState::Stopped);
    m_media.release();
}

void Transport::setState(PlayState state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit flagsChanged();
}

void Transport::setLoadedSerial(quint64 serial)
{
    m_isAtEnd = false;
    if (m_loadedSerial == serial)
        return;
    m_loadedSerial = serial;
    emit trackChanged();
}

QString Transport::songLine() const
{
    return ::songLine(m_media.mediaInfoString(MediaControl::InfoAuthor),
                      m_media.mediaInfoString(MediaControl::InfoTitle), m_request.path);
}
