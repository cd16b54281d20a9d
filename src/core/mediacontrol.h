#pragma once

#include <QObject>
#include <QString>

// The audio backend as the player sees it: one track at a time, driven in the
// player's own units (seconds, hundredths of a decibel). The program uses the
// GStreamer implementation; tests of the logic use a scripted fake.
//
// All calls and the endOfStream signal happen on the user-interface thread.
class MediaControl : public QObject
{
    Q_OBJECT

public:
    // Codes of mediaInfoString().
    static constexpr int InfoTitle = 8;
    static constexpr int InfoAuthor = 9;

    using QObject::QObject;
    ~MediaControl() override = default;

    // Opens `path` as the current track and waits (bounded) until it is ready,
    // paused at 0. "" releases the current track. Opening replaces any earlier track.
    virtual void setFileName(const QString &path) = 0;
    // The loaded track's path; "" when nothing is loaded or the last open failed.
    virtual QString fileName() const = 0;

    // Starts, or resumes after pause(), at the current position.
    virtual void play() = 0;
    // Halts output and keeps the position.
    virtual void pause() = 0;

    // Playing position in seconds from the track's start; 0 with nothing loaded.
    virtual double currentPosition() const = 0;
    // Seeks; values outside 0 … duration() are limited to it.
    virtual void setCurrentPosition(double seconds) = 0;
    // Length of the track in seconds; 0 when unknown or nothing is loaded.
    virtual double duration() const = 0;

    // Volume in hundredths of a decibel, 0 loudest; the gain is 10^(volume / 2000).
    // It belongs to the control, not to the track: it survives opening another file.
    virtual int volume() const = 0;
    virtual void setVolume(int hundredthsOfDecibel) = 0;
    // -5000 full left … 0 centre … +5000 full right: the other channel is attenuated
    // by |balance| / 100 dB.
    virtual void setBalance(int balance) = 0;
    // Silences output without changing volume().
    virtual void setMute(bool muted) = 0;

    // InfoAuthor gives the clip's artist, InfoTitle its title; "" when absent.
    virtual QString mediaInfoString(int code) const = 0;

signals:
    // Emitted once when the current track has played to its end, or has failed while
    // playing and cannot go on. Never emitted for a track that was replaced.
    void endOfStream();
};
