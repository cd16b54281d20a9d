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

    void open(quint64 serial, const QString &path) override
    {
        log << QStringLiteral("open %1").arg(path);
        m_serial = serial;
        m_fileName = path;
        m_isOpen = m_isPlaying = false;
        m_position = 0;
        if (m_isHolding)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, serial] {
                if (serial == m_serial && !m_fileName.isEmpty() && !m_isOpen)
                    answerOpen();
            },
            Qt::QueuedConnection);
    }
    void release() override
    {
        log << QStringLiteral("release");
        m_fileName.clear();
        m_isOpen = m_isPlaying = false;
    }
    QString fileName() const override { return m_fileName; }
    void play() override
    {
        log << QStringLiteral("play");
        m_isPlaying = m_isOpen;
    }
    void pause() override
    {
        log << QStringLiteral("pause");
        m_isPlaying = false;
    }
    double currentPosition() const override { return m_position; }
    void setCurrentPosition(double seconds) override
    {
        log << QStringLiteral("seek %1").arg(seconds);
        m_position = seconds;
    }
    double duration() const override { return m_isOpen ? m_durations.value(m_fileName) : 0.0; }
    int volume() const override { return m_volume; }
    void setVolume(int hundredthsOfDecibel) override
    {
        note("volume", m_volume, hundredthsOfDecibel);
    }
    void setBalance(int balance) override { note("balance", m_balance, balance); }
    void setMute(bool muted) override { note("mute", m_isMuted, muted); }
    QString mediaInfoString(int code) const override
    {
        const QStringList tags = m_isOpen ? m_tags.value(m_fileName) : QStringList();
        return tags.value(code == InfoAuthor ? 0 : code == InfoTitle ? 1 : 2);
    }

    // Test drivers.
    void failOpen(const QString &path, Failure reason = Failure::NotAudio)
    {
        m_failing.insert(path, reason);
    }
    void setDuration(const QString &path, double seconds) { m_durations[path] = seconds; }
    void setTags(const QString &path, const QString &author, const QString &title)
    {
        m_tags[path] = {author, title};
    }
    void setPosition(double seconds) { m_position = seconds; }
    // While held, opens wait for answerOpen().
    void holdOpens(bool hold) { m_isHolding = hold; }
    // Answers the open in flight as a file of its path would.
    void answerOpen()
    {
        if (m_failing.contains(m_fileName)) {
            const Failure reason = m_failing.value(std::exchange(m_fileName, QString()));
            emit failed(m_serial, reason, QStringLiteral("scripted"));
            return;
        }
        m_isOpen = true;
        emit opened(m_serial);
    }
    // The loaded track plays to its end, or breaks off.
    void finishTrack() { emit endOfStream(m_serial); }
    void breakTrack()
    {
        m_fileName.clear();
        m_isOpen = m_isPlaying = false;
        emit failed(m_serial, Failure::CannotDecode, QStringLiteral("scripted"));
    }
    // The serial of the track loaded or being opened.
    quint64 serial() const { return m_serial; }

    bool isPlaying() const { return m_isPlaying; }
    bool isMuted() const { return m_isMuted; }
    int balance() const { return m_balance; }
    // Each path queueNext() is told goes to `queued` ("": withdrawn); an open since withdraws
    // it. followQueued(): the loaded track plays on into it without a gap, or ends when there
    // is none.
    void queueNext(quint64 serial, const QString &path) override
    {
        queued << path;
        m_follower = {serial, m_serial, path};
    }
    void followQueued()
    {
        if (m_follower.path.isEmpty() || m_follower.behind != m_serial)
            return finishTrack();
        m_serial = m_follower.serial;
        m_fileName = std::exchange(m_follower, {}).path;
        m_position = 0;
        emit followed(m_serial);
    }
    // The loaded track's length turns out to be `seconds`.
    void changeDuration(double seconds)
    {
        m_durations[m_fileName] = seconds;
        emit durationChanged(m_serial);
    }
    QStringList queued;

    // One entry per call: "open <path>", "release", "play", "pause", "seek <s>",
    // "volume <v>", "balance <b>", "mute <0|1>".
    QStringList log;

private:
    template <typename T> void note(const char *call, T &setting, T value)
    {
        log << QStringLiteral("%1 %2").arg(QLatin1String(call)).arg(value);
        setting = value;
    }

    QString m_fileName;
    quint64 m_serial = 0;
    // The follower and the serial of the track it was queued behind.
    struct Follower
    {
        quint64 serial = 0, behind = 0;
        QString path;
    } m_follower;
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
