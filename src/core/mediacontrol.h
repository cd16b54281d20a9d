#pragma once

#include <QObject>
#include <QString>

// The audio backend as the player sees it: one track at a time, driven in the player's own
// units (seconds, hundredths of a decibel). The program uses the GStreamer implementation;
// tests of the logic use a scripted fake.
//
// Opening is asynchronous. The caller names each open with a serial of its own choosing; the
// backend answers with that serial, on the user-interface thread and never from inside the
// call that asked: `opened` when the track is ready (paused at its start, length and tags
// known), or `failed`. A track that opened later reports `endOfStream` when it has played to
// its end, or `failed` when it breaks off. The caller drops every report whose serial is not
// the one it waits for, so a track that was replaced never moves the playlist.
//
// Every call returns at once: the user-interface thread never waits on the backend.
class MediaControl : public QObject
{
    Q_OBJECT

public:
    // Codes of mediaInfoString().
    static constexpr int InfoTitle = 8;
    static constexpr int InfoAuthor = 9;
    // How long an open may take before it counts as failed.
    static constexpr int OpenTimeoutMs = 5000;

    // Why a track could not be played.
    enum class Failure {
        Missing,      // no such file, or it cannot be read
        NotAudio,     // no sound in it that can be decoded
        CannotDecode, // the sound breaks off: a truncated or damaged file
        TimedOut,     // opening did not finish within OpenTimeoutMs (a stalled source)
    };
    Q_ENUM(Failure)

    using QObject::QObject;
    ~MediaControl() override = default;

    // Starts opening `path` (a local path or a URL) as the current track, replacing the track
    // loaded or being opened.
    virtual void open(quint64 serial, const QString &path) = 0;
    // Releases the current track, loaded or being opened; no report about it follows.
    virtual void release() = 0;
    // The path of the track loaded or being opened; "" when there is none.
    virtual QString fileName() const = 0;
    // The track to follow the loaded one without a gap, named by a serial of the caller's
    // choosing; "" withdraws it. A later call replaces it; open() and release() withdraw it.
    // When the loaded track plays to its end and the queued one starts straight after it,
    // the backend reports followed(serial) in place of endOfStream; from then on the queued
    // track is the loaded one (fileName(), duration(), mediaInfoString() and the position
    // describe it, and its later reports carry its serial). When it cannot follow (it never
    // does in this base class, or the queued track does not start) it reports endOfStream,
    // or failed, with the serial of the track that was loaded, and the caller opens the next
    // track itself.
    virtual void queueNext(quint64 serial, const QString &path)
    {
        Q_UNUSED(serial);
        Q_UNUSED(path);
    }

    // Starts, or resumes after pause(), at the current position. While an open is pending,
    // play(), pause() and setCurrentPosition() take effect once it has opened.
    virtual void play() = 0;
    // Halts output and keeps the position.
    virtual void pause() = 0;

    // Playing position in seconds from the track's start; 0 with nothing loaded. After a seek
    // it is the seek's target until the seek has taken effect.
    virtual double currentPosition() const = 0;
    // Seeks; a negative value means 0. A target past the end ends the track: a length read
    // from the file's header may be a guess, so seeks are not limited by it.
    virtual void setCurrentPosition(double seconds) = 0;
    // Length of the track in seconds; 0 when unknown or nothing has opened. It may change
    // while the track plays (durationChanged): a length read from the header is a guess
    // for files without an index, such as a VBR MP3 without a Xing header.
    virtual double duration() const = 0;

    // Volume in hundredths of a decibel, 0 loudest; the gain is 10^(volume / 2000).
    // Volume, balance and mute belong to the control, not to a track: they hold for every
    // track opened later, and for one being opened.
    virtual int volume() const = 0;
    virtual void setVolume(int hundredthsOfDecibel) = 0;
    // -5000 full left … 0 centre … +5000 full right: the other channel is attenuated by
    // |balance| / 100 dB.
    virtual void setBalance(int balance) = 0;
    // Silences output without changing volume().
    virtual void setMute(bool muted) = 0;

    // InfoAuthor gives the clip's artist, InfoTitle its title; "" when absent or nothing has
    // opened.
    virtual QString mediaInfoString(int code) const = 0;

signals:
    void opened(quint64 serial);
    // `detail` is the backend's own description, for the log.
    void failed(quint64 serial, MediaControl::Failure reason, const QString &detail);
    void endOfStream(quint64 serial);
    // The queued track (queueNext) has taken over from the loaded one without a gap.
    void followed(quint64 serial);
    // duration() of the loaded track `serial` has changed.
    void durationChanged(quint64 serial);
};
