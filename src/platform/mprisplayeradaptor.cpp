#include "platform/mprisplayeradaptor.h"

#include <cmath>

#include <QDBusError>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "core/commandline.h"
#include "core/mediacontrol.h"
#include "core/player.h"
#include "platform/mprisservice.h"

namespace {

constexpr double MicrosecondsPerSecond = 1e6;

qlonglong microseconds(double seconds)
{
    return std::llround(seconds * MicrosecondsPerSecond);
}

} // namespace

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService &service, Player &player, MediaControl &media)
    : QDBusAbstractAdaptor(&service), m_service(service), m_player(player), m_media(media)
{
    connect(&m_player.position(), &PlaybackPosition::seeked, this,
            [this](double seconds) { emit Seeked(microseconds(seconds)); });
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    const Transport &transport = m_player.transport();
    const bool loaded = transport.loadedTrack() != 0;
    if (!loaded && !transport.isTrackComing())
        return QStringLiteral("Stopped");
    if (transport.PlayingFlag())
        return loaded ? QStringLiteral("Playing") : QStringLiteral("Paused");
    return transport.PausedFlag() ? QStringLiteral("Paused") : QStringLiteral("Stopped");
}

QString MprisPlayerAdaptor::loopStatus() const
{
    return m_player.transport().LoopMode() ? QStringLiteral("Playlist") : QStringLiteral("None");
}

void MprisPlayerAdaptor::setLoopStatus(const QString &status)
{
    // The player loops the whole list or nothing: a single track ("Track") is refused, and the
    // caller, who may have taken the value as set, is told the real one.
    if (status == u"Playlist" || status == u"None")
        m_player.transport().setLoopMode(status == u"Playlist");
    else
        m_service.tellAgain(QStringLiteral("LoopStatus"));
}

bool MprisPlayerAdaptor::shuffle() const
{
    return m_player.transport().RandomMode();
}

void MprisPlayerAdaptor::setShuffle(bool on)
{
    m_player.transport().setRandomMode(on);
}

QDBusObjectPath MprisPlayerAdaptor::trackId() const
{
    const quint64 track = m_player.transport().loadedTrack();
    return QDBusObjectPath(track == 0 ? QString::fromLatin1(NoTrack)
                                      : QStringLiteral("/org/zorvan/track/%1").arg(track));
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    QVariantMap map{{QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId())}};
    if (m_player.transport().loadedTrack() == 0)
        return map;
    const double length = m_media.duration();
    if (length > 0)
        map.insert(QStringLiteral("mpris:length"), microseconds(length));
    const QString path = m_media.fileName();
    const QUrl url = path.startsWith(u'/') ? QUrl::fromLocalFile(path) : QUrl(path);
    const QString title = m_media.mediaInfoString(MediaControl::InfoTitle);
    map.insert(QStringLiteral("xesam:title"), title.isEmpty() ? url.fileName() : title);
    const QString artist = m_media.mediaInfoString(MediaControl::InfoAuthor);
    if (!artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{artist});
    map.insert(QStringLiteral("xesam:url"), url.toString(QUrl::FullyEncoded));
    const QString lyric = m_player.labels().text(DisplayLabels::Label::LTxtMin).trimmed();
    if (!lyric.isEmpty())
        map.insert(QStringLiteral("xesam:asText"), lyric);
    return map;
}

double MprisPlayerAdaptor::volume() const
{
    return m_player.sound().volumeFraction();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    m_player.sound().setVolumeFraction(volume);
}

qlonglong MprisPlayerAdaptor::position() const
{
    return microseconds(m_media.currentPosition());
}

bool MprisPlayerAdaptor::hasSongs() const
{
    return m_player.transport().ListSong().count() > 0;
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_player.transport().loadedTrack() != 0 && m_player.position().SongSeconds() > 0;
}

QVariantMap MprisPlayerAdaptor::changeableProperties() const
{
    const bool songs = hasSongs();
    return {{QStringLiteral("PlaybackStatus"), playbackStatus()},
            {QStringLiteral("LoopStatus"), loopStatus()},
            {QStringLiteral("Shuffle"), shuffle()},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("Volume"), volume()},
            {QStringLiteral("CanGoNext"), songs},
            {QStringLiteral("CanGoPrevious"), songs},
            {QStringLiteral("CanPlay"), songs},
            {QStringLiteral("CanPause"), songs},
            {QStringLiteral("CanSeek"), canSeek()}};
}

void MprisPlayerAdaptor::Next()
{
    m_player.run(Command::NextSong);
}

void MprisPlayerAdaptor::Previous()
{
    m_player.run(Command::PreviousSong);
}

void MprisPlayerAdaptor::Pause()
{
    m_player.run(Command::PauseIfPlaying);
}

void MprisPlayerAdaptor::PlayPause()
{
    m_player.run(Command::TogglePlay);
}

void MprisPlayerAdaptor::Stop()
{
    m_player.run(Command::StopSong);
}

void MprisPlayerAdaptor::Play()
{
    m_player.run(Command::PlayOrResume);
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    if (!canSeek())
        return;
    m_player.position().seekBy(double(offset) / MicrosecondsPerSecond);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &trackId, qlonglong position)
{
    if (!canSeek() || trackId != this->trackId() || position < 0 ||
        position > microseconds(m_media.duration()))
        return;
    m_player.position().seekTo(double(position) / MicrosecondsPerSecond);
}

void MprisPlayerAdaptor::OpenUri(const QString &uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile()) {
        m_service.refuseCall(QDBusError::errorString(QDBusError::NotSupported),
                             QStringLiteral("only file: addresses are opened: %1").arg(uri));
        return;
    }
    const CommandLineSongs songs = songsFromArguments({url.toLocalFile()}, QDir::rootPath());
    if (songs.isEmpty()) {
        m_service.refuseCall(QDBusError::errorString(QDBusError::InvalidArgs),
                             songs.problems.isEmpty() ? QStringLiteral("no song in %1").arg(uri)
                                                      : songs.problems.join(QStringLiteral("; ")));
        return;
    }
    m_player.transport().openSongs(songs);
}
