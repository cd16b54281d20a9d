#pragma once

#include <QHash>
#include <QStringList>

#include "core/mediacontrol.h"

// A scripted backend for the player's logic. Every file opens unless told otherwise; the
// answer to an open comes one event-loop turn later, as from the real backend, unless the
// test holds opens and answers them itself. Time stands still until the test moves it, and
// each call is written to a log the test can read.
class FakeMediaControl : public MediaControl
{
    Q_OBJECT

public:
    using MediaControl::MediaControl;

    void open(quint64 serial, const QString &path) override;
    void release() override;
    QString fileName() const override { return m_fileName; }
    void play() override;
    void pause() override;
    double currentPosition() const override { return m_position; }
    void setCurrentPosition(double seconds) override;
    double duration() const override;
    int volume() const override { return m_volume; }
    void setVolume(int hundredthsOfDecibel) override;
    void setBalance(int balance) override;
    void setMute(bool muted) override;
    QString mediaInfoString(int code) const override;

    // Test drivers.
    void failOpen(const QString &path, Failure reason = Failure::NotAudio);
    void setDuration(const QString &path, double seconds) { m_durations[path] = seconds; }
    void setTags(const QString &path, const QString &author, const QString &title);
    void setPosition(double seconds) { m_position = seconds; }
    // While held, opens wait for answerOpen().
    void holdOpens(bool hold) { m_isHolding = hold; }
    // Answers the open in flight as a file of its path would.
    void answerOpen();
    // The loaded track plays to its end, or breaks off.
    void finishTrack() { emit endOfStream(m_serial); }
    void breakTrack();
    // The serial of the track loaded or being opened.
    quint64 serial() const { return m_serial; }

    bool isPlaying() const { return m_isPlaying; }
    bool isMuted() const { return m_isMuted; }
    int balance() const { return m_balance; }
    // One entry per call: "open <path>", "release", "play", "pause", "seek <s>",
    // "volume <v>", "balance <b>", "mute <0|1>".
    QStringList log;

private:
    QString m_fileName;
    quint64 m_serial = 0;
    bool m_isOpen = false;
    bool m_isHolding = false;
    QHash<QString, Failure> m_failing;
    QHash<QString, double> m_durations;
    QHash<QString, QStringList> m_tags;
    double m_position = 0;
    int m_volume = 0;
    int m_balance = 0;
    bool m_isPlaying = false;
    bool m_isMuted = false;
};
