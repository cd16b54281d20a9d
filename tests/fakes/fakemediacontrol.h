#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>

#include "core/mediacontrol.h"

// A scripted backend for the player's logic: every file opens unless told otherwise,
// time stands still until the test moves it, and each call is written to a log the
// test can read.
class FakeMediaControl : public MediaControl
{
    Q_OBJECT

public:
    using MediaControl::MediaControl;

    void setFileName(const QString &path) override;
    QString fileName() const override { return m_fileName; }
    void play() override;
    void pause() override;
    double currentPosition() const override { return m_position; }
    void setCurrentPosition(double seconds) override;
    double duration() const override { return m_durations.value(m_fileName, 0.0); }
    int volume() const override { return m_volume; }
    void setVolume(int hundredthsOfDecibel) override;
    void setBalance(int balance) override;
    void setMute(bool muted) override;
    QString mediaInfoString(int code) const override;

    // Test drivers.
    void failOpen(const QString &path) { m_failing.insert(path); }
    void setDuration(const QString &path, double seconds) { m_durations[path] = seconds; }
    void setTags(const QString &path, const QString &author, const QString &title);
    void setPosition(double seconds) { m_position = seconds; }
    // The current track plays to its end.
    void finishTrack() { emit endOfStream(); }

    bool isPlaying() const { return m_playing; }
    bool isMuted() const { return m_muted; }
    int balance() const { return m_balance; }
    // One entry per call: "open <path>", "play", "pause", "seek <s>", "volume <v>",
    // "balance <b>", "mute <0|1>".
    QStringList log;

private:
    QString m_fileName;
    QSet<QString> m_failing;
    QHash<QString, double> m_durations;
    QHash<QString, QStringList> m_tags;
    double m_position = 0;
    int m_volume = 0;
    int m_balance = 0;
    bool m_playing = false;
    bool m_muted = false;
};
