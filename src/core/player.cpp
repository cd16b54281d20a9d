#include "core/player.h"

#include "core/commandline.h"
#include "core/mediacontrol.h"
#include "core/session.h"

Player::Player(MediaControl &media, Session &session, WindowCommands &window, QObject *parent)
    : QObject(parent), m_media(media), m_session(session), m_position(media, m_labels),
      m_transport(media, session, m_labels, m_position), m_sound(media),
      m_keys(m_transport, m_position, m_sound, window)
{}

bool Player::clickPanel(int x, int y)
{
    return m_position.clickTrack(x, y) || m_sound.clickTrack(x, y);
}

void Player::start(const CommandLineSongs &songs)
{
    m_media.setVolume(m_session.settings().volume);
    m_sound.ShowVolume();
    if (songs.songs.isEmpty())
        m_transport.restoreList(m_session.loadSavedList());
    else
        m_transport.openSongs(songs);
}

void Player::stop()
{
    m_session.endRun();
    m_transport.shutDown();
}
