#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>

class MediaControl;
class MprisService;
class Player;

// The Player interface of the player's MPRIS object. Times are in microseconds, as the
// interface has them; the player's own are seconds.
//
// The mapping onto the player: PlaybackStatus "Playing" only while a loaded track plays,
// "Stopped" while nothing is loaded and nothing is coming, and otherwise "Paused" (a track
// paused, or one still opening) or "Stopped" as the play state says; LoopStatus "Playlist"
// or "None" from LoopMode (a set to anything else, "Track" among them, is refused: the value
// stays, and PropertiesChanged tells it again); Shuffle is RandomMode;
// Volume is the volume knob's place on its travel, 0 … 1, both ways; a track is named by the
// serial of its open. A method that has nothing to act on does nothing, as the interface
// asks.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ hasSongs)
    Q_PROPERTY(bool CanGoPrevious READ hasSongs)
    Q_PROPERTY(bool CanPlay READ hasSongs)
    Q_PROPERTY(bool CanPause READ hasSongs)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    // The path that names "no track" in Metadata.
    static constexpr const char *NoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

    MprisPlayerAdaptor(MprisService &service, Player &player, MediaControl &media);

    QString playbackStatus() const;
    QString loopStatus() const;
    void setLoopStatus(const QString &status);
    // The player plays at its one speed.
    double rate() const { return 1.0; }
    void setRate(double) {}
    bool shuffle() const;
    void setShuffle(bool on);
    // mpris:trackid always; for a loaded track also mpris:length (when known), xesam:title (the
    // title tag, or else the file's name), xesam:artist (when tagged), xesam:url, and
    // xesam:asText, the lyric line shown now without the spaces around it (when one is).
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool hasSongs() const;
    bool canSeek() const;
    bool canControl() const { return true; }

    // Every property that PropertiesChanged tells about, by name.
    QVariantMap changeableProperties() const;

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    // Resumes a paused track; otherwise (stopped, or paused with nothing to resume) plays the
    // current entry from its start.
    void Play();
    // Relative to the position now; before the start seeks to the start. A seek beyond the
    // end, which may be a guess, is not limited: past the real end the track ends and the
    // play order goes on as after any end.
    void Seek(qlonglong offset);
    // Only for the track loaded now, and a position within it.
    void SetPosition(const QDBusObjectPath &trackId, qlonglong position);
    // A file: URI of a sound file or a playlist: its songs are added and the first of them
    // plays. Anything else is refused with an error.
    void OpenUri(const QString &uri);

signals:
    void Seeked(qlonglong position);

private:
    QDBusObjectPath trackId() const;

    MprisService &m_service;
    Player &m_player;
    MediaControl &m_media;
};
