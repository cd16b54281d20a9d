#include "core/transport.h"

#include <QLoggingCategory>

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

QString failureText(MediaControl::Failure reason)
{
    switch (reason) {
    case MediaControl::Failure::Missing:
        return QStringLiteral("missing or unreadable");
    case MediaControl::Failure::NotAudio:
        return QStringLiteral("no sound that can be decoded");
    case MediaControl::Failure::CannotDecode:
        return QStringLiteral("the sound breaks off");
    case MediaControl::Failure::TimedOut:
        return QStringLiteral("opening timed out");
    }
    return {};
}

} // namespace

Transport::Transport(MediaControl &media, Session &session, DisplayLabels &labels,
                     PlaybackPosition &position, QObject *parent)
    : QObject(parent), m_media(media), m_session(session), m_labels(labels), m_position(position)
{
    connect(&m_media, &MediaControl::opened, this, &Transport::onOpened);
    connect(&m_media, &MediaControl::failed, this, &Transport::onFailed);
    connect(&m_media, &MediaControl::endOfStream, this, &Transport::onEndOfStream);
}

void Transport::setLoopMode(bool on)
{
    if (m_loopMode == on)
        return;
    m_loopMode = on;
    emit modesChanged();
}

void Transport::setRandomMode(bool on)
{
    if (m_randomMode == on)
        return;
    m_randomMode = on;
    emit modesChanged();
}

void Transport::PlaySong()
{
    if (!m_session.AppRunning() || m_playlist.song(m_playlist.CurrentEntry()).isEmpty())
        return;
    beginRequest(StartMode::Play, 1);
    startCurrentEntry();
}

void Transport::PauseSong()
{
    const bool isLoading = isTrackComing();
    if (m_pausedFlag) {
        if (m_media.fileName().isEmpty() && !m_isSkipQueued)
            return;
        if (isLoading) {
            // The track being found plays as soon as it opens.
            m_requestMode = StartMode::Play;
        } else {
            m_media.play();
            m_position.setRunning(true);
        }
        setFlags(true, false);
        return;
    }
    if (isLoading)
        m_requestMode = StartMode::Cue;
    m_media.pause();
    m_position.setRunning(false);
    setFlags(false, true);
}

void Transport::StopSong()
{
    if (isTrackComing())
        m_requestMode = StartMode::Cue;
    m_media.pause();
    m_media.setCurrentPosition(0);
    m_position.setRunning(false);
    m_position.rewindLyrics();
    setFlags(false, m_pausedFlag);
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
    cancelSkip();
    moveCurrentEntry(direction);
    if (m_playingFlag && m_session.AppRunning()) {
        beginRequest(StartMode::Play, direction);
        startCurrentEntry();
    }
}

void Transport::DelSelectedSong()
{
    m_playlist.removeHighlighted();
}

void Transport::OpenLyric(LyricFileChooser &chooser)
{
    ::OpenLyric(chooser, m_position.ListLyric());
}

void Transport::beginRequest(StartMode mode, int direction)
{
    cancelSkip();
    m_requestMode = mode;
    m_direction = direction;
    m_failuresLeft = m_playlist.count();
    if (mode == StartMode::Play)
        setFlags(true, false);
}

void Transport::cancelSkip()
{
    ++m_skipToken;
    m_isSkipQueued = false;
}

void Transport::startCurrentEntry()
{
    const QString path = m_playlist.song(m_playlist.CurrentEntry());
    if (path.isEmpty()) {
        m_pendingOpen.reset();
        return;
    }
    m_pendingOpen = ++m_serial;
    m_trackPath = path;
    m_triedEntry = m_playlist.index(m_playlist.CurrentEntry());
    setLoadedSerial(0);
    m_position.setRunning(false);
    m_media.open(m_serial, path);
}

void Transport::onOpened(quint64 serial)
{
    if (m_pendingOpen != serial)
        return;
    m_pendingOpen.reset();
    qCDebug(lcPlayback).noquote() << QStringLiteral("starting \"%1\"").arg(m_trackPath);
    m_position.startTrack(int(roundHalfEven(m_media.duration())));
    findLyrics(serial, m_trackPath);
    const QString line = songLine();
    m_labels.setText(DisplayLabels::Label::LTxtMin, QString());
    m_labels.setText(DisplayLabels::Label::LTxtMax, line);
    m_labels.setText(DisplayLabels::Label::LInfo, line);
    setLoadedSerial(serial);
    if (m_requestMode == StartMode::Play) {
        m_media.play();
        m_position.setRunning(true);
        setFlags(true, false);
    }
}

void Transport::onFailed(quint64 serial, MediaControl::Failure reason, const QString &detail)
{
    const bool wasAwaited = m_pendingOpen == serial;
    const bool wasPlaying = serial != 0 && serial == m_loadedSerial;
    if (!wasAwaited && !wasPlaying)
        return;
    qCWarning(lcPlayback).noquote()
        << QStringLiteral("cannot play \"%1\": %2%3")
               .arg(m_trackPath, failureText(reason),
                    detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail));
    m_pendingOpen.reset();
    setLoadedSerial(0);
    m_position.setRunning(false);
    if (wasPlaying) {
        // A track that breaks off while paused leaves the player paused with nothing loaded.
        if (!m_playingFlag)
            return;
        // Otherwise it ends like a track that played to its end, but it counts against the
        // request that started it.
        m_requestMode = StartMode::Play;
        m_direction = 1;
    }
    skipAfterFailure();
}

void Transport::skipAfterFailure()
{
    if (--m_failuresLeft <= 0) {
        qCWarning(lcPlayback, "no entry of the list can be played");
        if (m_requestMode == StartMode::Play)
            setFlags(false, false);
        return;
    }
    // One step per event-loop turn: the window stays alive through a list of broken files,
    // and a command that comes in between cancels the rest.
    const quint64 token = ++m_skipToken;
    m_isSkipQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this, token] {
            if (token != m_skipToken)
                return;
            m_isSkipQueued = false;
            if (!m_session.AppRunning())
                return;
            // The skip goes on from the entry that failed, wherever the keys have moved the
            // current entry meanwhile (unless that entry is gone).
            if (m_triedEntry.isValid())
                m_playlist.setCurrentEntry(m_triedEntry.row());
            moveCurrentEntry(m_direction);
            startCurrentEntry();
        },
        Qt::QueuedConnection);
}

void Transport::onEndOfStream(quint64 serial)
{
    if (serial == 0 || serial != m_loadedSerial)
        return;
    NextSong();
}

void Transport::findLyrics(quint64 serial, const QString &songPath)
{
    m_lyricLookups.add(
        [candidate = lyricFilePath(songPath), folders = m_session.ListLyricDir()] {
            LyricList lyrics;
            FindLyric(candidate, folders, lyrics);
            return lyrics;
        },
        [this, serial](const LyricList &lyrics) {
            if (serial == m_loadedSerial)
                m_position.setLyrics(lyrics);
        },
        LyricLookupJob);
}

void Transport::moveCurrentEntry(int step)
{
    const int count = m_playlist.count();
    if (count == 0)
        return;
    const int current = m_playlist.CurrentEntry();
    if (step > 0)
        makeCurrent((current < 0 || count - current <= 1) ? 0 : current + 1);
    else
        makeCurrent(current < 1 ? count - 1 : current - 1);
}

void Transport::makeCurrent(int row)
{
    const int current = m_playlist.CurrentEntry();
    if (current >= 0)
        m_playlist.setHighlighted(current, false);
    m_playlist.setCurrentEntry(row);
    m_playlist.setHighlighted(row, true);
}

void Transport::openSongs(const CommandLineSongs &songs)
{
    if (!m_session.AppRunning() || songs.songs.isEmpty())
        return;
    const int first = m_playlist.count();
    m_playlist.append(songs.songs, songs.infos);
    makeCurrent(first);
    PlaySong();
}

void Transport::restoreList(const PlaylistEntries &saved)
{
    m_playlist.append(saved.songs, saved.infos);
    if (m_playlist.count() == 0)
        return;
    makeCurrent(0);
    beginRequest(StartMode::Cue, 1);
    startCurrentEntry();
}

void Transport::shutDown()
{
    cancelSkip();
    m_pendingOpen.reset();
    setLoadedSerial(0);
    m_position.setRunning(false);
    setFlags(false, false);
    m_media.release();
}

void Transport::setFlags(bool playing, bool paused)
{
    if (m_playingFlag == playing && m_pausedFlag == paused)
        return;
    m_playingFlag = playing;
    m_pausedFlag = paused;
    emit flagsChanged();
}

void Transport::setLoadedSerial(quint64 serial)
{
    if (m_loadedSerial == serial)
        return;
    m_loadedSerial = serial;
    emit trackChanged();
}

QString Transport::songLine() const
{
    return ::songLine(m_media.mediaInfoString(MediaControl::InfoAuthor),
                      m_media.mediaInfoString(MediaControl::InfoTitle), m_trackPath);
}
