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
                     PlaybackPosition &position, QObject *parent)
    : QObject(parent), m_media(media), m_session(session), m_labels(labels), m_position(position)
{
    connect(&m_media, &MediaControl::opened, this,
            [this](quint64 serial) { handle(Event::Opened, serial); });
    connect(&m_media, &MediaControl::failed, this,
            [this](quint64 serial, MediaControl::Failure reason, const QString &detail) {
                handle(Event::Failed, serial, failureText(reason, detail));
            });
    connect(&m_media, &MediaControl::endOfStream, this,
            [this](quint64 serial) { handle(Event::Ended, serial); });
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
    request(StartMode::Play, 1);
}

void Transport::PauseSong()
{
    if (m_state == PlayState::Paused) {
        if (m_media.fileName().isEmpty() && !m_request.queuedSkip)
            return;
        if (isTrackComing()) {
            // The track being found plays as soon as it opens.
            m_request.mode = StartMode::Play;
        } else {
            m_media.play();
            m_position.setRunning(true);
        }
        setState(PlayState::Playing);
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
    moveCurrentEntry(direction);
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

void Transport::request(StartMode mode, int direction)
{
    m_request.queuedSkip.reset();
    m_request.mode = mode;
    m_request.direction = direction;
    m_request.failuresLeft = m_playlist.count();
    if (mode == StartMode::Play)
        setState(PlayState::Playing);
    startCurrentEntry();
}

void Transport::startCurrentEntry()
{
    const QString path = m_playlist.song(m_playlist.CurrentEntry());
    if (path.isEmpty()) {
        m_request.awaited.reset();
        return;
    }
    m_request.awaited = ++m_serial;
    m_request.path = path;
    m_request.entry = m_playlist.index(m_playlist.CurrentEntry());
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
            NextSong();
        return;
    case Event::Failed:
        if (!isAwaited && !isLoaded)
            return;
        qCWarning(lcPlayback).noquote()
            << QStringLiteral("cannot play \"%1\": %2").arg(m_request.path, failure);
        m_request.awaited.reset();
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
        if (m_request.entry.isValid())
            m_playlist.setCurrentEntry(m_request.entry.row());
        moveCurrentEntry(m_request.direction);
        startCurrentEntry();
        return;
    }
}

void Transport::startLoadedTrack(quint64 serial)
{
    qCDebug(lcPlayback).noquote() << QStringLiteral("starting \"%1\"").arg(m_request.path);
    m_position.startTrack(int(roundHalfEven(m_media.duration())));
    findLyrics(serial, m_request.path);
    const QString line = songLine();
    m_labels.setText(DisplayLabels::Label::LTxtMin, QString());
    m_labels.setText(DisplayLabels::Label::LTxtMax, line);
    m_labels.setText(DisplayLabels::Label::LInfo, line);
    setLoadedSerial(serial);
    if (m_request.mode == StartMode::Play) {
        m_media.play();
        m_position.setRunning(true);
        setState(PlayState::Playing);
    }
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
    request(StartMode::Cue, 1);
}

void Transport::shutDown()
{
    m_request.queuedSkip.reset();
    m_request.awaited.reset();
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
