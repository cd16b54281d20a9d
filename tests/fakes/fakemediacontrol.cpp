#include "fakemediacontrol.h"

void FakeMediaControl::setFileName(const QString &path)
{
    log << QStringLiteral("open %1").arg(path);
    m_playing = false;
    m_position = 0;
    m_fileName = m_failing.contains(path) ? QString() : path;
}

void FakeMediaControl::play()
{
    log << QStringLiteral("play");
    m_playing = !m_fileName.isEmpty();
}

void FakeMediaControl::pause()
{
    log << QStringLiteral("pause");
    m_playing = false;
}

void FakeMediaControl::setCurrentPosition(double seconds)
{
    log << QStringLiteral("seek %1").arg(seconds);
    m_position = seconds;
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
    m_muted = muted;
}

QString FakeMediaControl::mediaInfoString(int code) const
{
    const QStringList tags = m_tags.value(m_fileName);
    if (tags.size() != 2)
        return {};
    return code == InfoAuthor ? tags.at(0) : code == InfoTitle ? tags.at(1) : QString();
}

void FakeMediaControl::setTags(const QString &path, const QString &author, const QString &title)
{
    m_tags[path] = {author, title};
}
