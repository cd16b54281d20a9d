#include "fakemediacontrol.h"

void FakeMediaControl::open(quint64 serial, const QString &path)
{
    log << QStringLiteral("open %1").arg(path);
    m_serial = serial;
    m_fileName = path;
    m_isOpen = false;
    m_isPlaying = false;
    m_position = 0;
    if (!m_isHolding) {
        QMetaObject::invokeMethod(
            this,
            [this, serial] {
                if (serial == m_serial && !m_fileName.isEmpty() && !m_isOpen)
                    answerOpen();
            },
            Qt::QueuedConnection);
    }
}

void FakeMediaControl::answerOpen()
{
    const quint64 serial = m_serial;
    if (m_failing.contains(m_fileName)) {
        const Failure reason = m_failing.value(m_fileName);
        m_fileName.clear();
        emit failed(serial, reason, QStringLiteral("scripted"));
        return;
    }
    m_isOpen = true;
    emit opened(serial);
}

void FakeMediaControl::breakTrack()
{
    m_fileName.clear();
    m_isOpen = false;
    m_isPlaying = false;
    emit failed(m_serial, Failure::CannotDecode, QStringLiteral("scripted"));
}

void FakeMediaControl::release()
{
    log << QStringLiteral("release");
    m_fileName.clear();
    m_isOpen = false;
    m_isPlaying = false;
}

void FakeMediaControl::play()
{
    log << QStringLiteral("play");
    m_isPlaying = m_isOpen;
}

void FakeMediaControl::pause()
{
    log << QStringLiteral("pause");
    m_isPlaying = false;
}

void FakeMediaControl::setCurrentPosition(double seconds)
{
    log << QStringLiteral("seek %1").arg(seconds);
    m_position = seconds;
}

double FakeMediaControl::duration() const
{
    return m_isOpen ? m_durations.value(m_fileName, 0.0) : 0.0;
}

void FakeMediaControl::setVolume(int hundredthsOfDecibel)
{
    log << QStringLiteral("volume %1").arg(hundredthsOfDecibel);
    m_volume = hundredthsOfDecibel;
}

void FakeMediaControl::setBalance(int balance)
{
    log << QStringLiteral("balance %1").arg(balance);
    m_balance = balance;
}

void FakeMediaControl::setMute(bool muted)
{
    log << QStringLiteral("mute %1").arg(int(muted));
    m_isMuted = muted;
}

QString FakeMediaControl::mediaInfoString(int code) const
{
    const QStringList tags = m_isOpen ? m_tags.value(m_fileName) : QStringList();
    if (tags.size() != 2)
        return {};
    return code == InfoAuthor ? tags.at(0) : code == InfoTitle ? tags.at(1) : QString();
}

void FakeMediaControl::failOpen(const QString &path, Failure reason)
{
    m_failing.insert(path, reason);
}

void FakeMediaControl::setTags(const QString &path, const QString &author, const QString &title)
{
    m_tags[path] = {author, title};
}
