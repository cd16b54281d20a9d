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
        set("open " + path, m_fileName, path);
        m_serial = serial;
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
        set("release", m_fileName, QString());
        m_isOpen = m_isPlaying = false;
    }
    QString fileName() const override { return m_fileName; }
    void play() override { set("play", m_isPlaying, m_isOpen); }
    void pause() override { set("pause", m_isPlaying, false); }
    double currentPosition() const override { return m_position; }
    void setCurrentPosition(double seconds) override { note("seek", m_position, seconds); }
    double duration() const override { return m_isOpen ? m_durations.value(m_fileName) : 0.0; }
    int volume() const override { return m_volume; }
    void setVolume(int value) override { note("volume", m_volume, value); }
    void setBalance(int value) override { note("balance", m_balance, value); }
    void setMute(bool value) override { note("mute", m_isMuted, value); }
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
    // Logs `entry` and changes `setting`; note() logs the call with the value it sets.
    template <typename T> void set(const QString &entry, T &setting, T value)
    {
        log << entry;
        setting = value;
    }
    template <typename T> void note(const char *call, T &setting, T value)
    {
        set(QStringLiteral("%1 %2").arg(QLatin1String(call)).arg(value), setting, value);
    }

    QString m_fileName;
    quint64 m_serial = 0;
    // The follower and the serial of the track it was queued behind.
    struct Follower
    {
        quint64 serial = 0, behind = 0;
        QString path;
    } m_follower;
    QHash<QString, Failure> m_failing;
    QHash<QString, double> m_durations;
    QHash<QString, QStringList> m_tags;
    double m_position = 0;
    int m_volume = 0, m_balance = 0;
    bool m_isOpen = false, m_isHolding = false, m_isPlaying = false, m_isMuted = false;
};
