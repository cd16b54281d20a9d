#include "core/player.h"

#include <cmath>
#include <utility>

#include <QDir>

#include "core/commandline.h"
#include "core/mediacontrol.h"
#include "core/session.h"
#include "core/windowcommands.h"

Player::Player(MediaControl &media, Session &session, SongTagReader readTags, QObject *parent)
    : QObject(parent), m_media(media), m_session(session), m_position(media, m_labels),
      m_transport(media, session, m_labels, m_position, std::move(readTags)), m_sound(media),
      m_lyricOffsets(QDir(session.dataFolder()).filePath(QStringLiteral("zorvan.lof"))),
      m_desktopLyrics(
          QDir(session.dataFolder()).filePath(QLatin1String(DesktopLyricStore::FileName)))
{
    // A track that starts, also one that follows another without a gap, takes its offset.
    connect(&m_transport, &Transport::trackChanged, this, [this] {
        if (m_transport.loadedTrack() != 0)
            m_position.setLyricOffset(m_lyricOffsets.offset(m_media.fileName()) / 1000.0);
    });
}

void Player::run(Command command)
{
    Transport &transport = m_transport;
    switch (command) {
    case Command::PlaySong:
        return transport.PlaySong();
    case Command::PauseSong:
        return transport.PauseSong();
    case Command::StopSong:
        return transport.StopSong();
    case Command::PlayOrResume:
        if (transport.PlayingFlag())
            return;
        if (transport.PausedFlag())
            transport.PauseSong();
        if (!transport.PlayingFlag())
            transport.PlaySong();
        return;
    case Command::PauseIfPlaying:
        if (transport.PlayingFlag())
            transport.PauseSong();
        return;
    case Command::TogglePlay:
        return run(transport.PlayingFlag() ? Command::PauseSong : Command::PlayOrResume);
    case Command::NextSong:
        return transport.NextSong();
    case Command::PreviousSong:
        return transport.PreviousSong();
    case Command::FastForward:
        return m_position.FastForward();
    case Command::FastPre:
        return m_position.FastPre();
    case Command::VolumeUp:
        return m_sound.VolumeUp();
    case Command::VolumeDown:
        return m_sound.VolumeDown();
    case Command::MuteSong:
        return m_sound.MuteSong();
    case Command::Stereo:
        return m_sound.SetBanlance(1);
    case Command::LeftChannel:
        return m_sound.SetBanlance(0);
    case Command::RightChannel:
        return m_sound.SetBanlance(2);
    case Command::ToggleLyrics:
        return m_position.setShowsLyrics(!m_position.showsLyrics());
    case Command::ToggleDesktopLyrics:
    case Command::LockDesktopLyrics: {
        DesktopLyricSettings settings = m_desktopLyrics.settings();
        bool &state = command == Command::ToggleDesktopLyrics ? settings.shown : settings.locked;
        state = !state;
        return m_desktopLyrics.setSettings(settings);
    }
    case Command::ToggleLoop:
        return transport.setLoopMode(!transport.LoopMode());
    case Command::ToggleRandom:
        return transport.setRandomMode(!transport.RandomMode());
    case Command::LyricsEarlier:
        return shiftLyrics(-LyricOffsetStep);
    case Command::LyricsLater:
        return shiftLyrics(LyricOffsetStep);
    case Command::DeleteSelected:
        return transport.DelSelectedSong();
    case Command::DeleteNotSelected:
        // Nothing else changes: the song that plays goes on, and no file is written.
        return transport.ListSong().removeNotHighlighted();
    case Command::DeleteAll:
        return transport.ListSong().clear();
    case Command::FullScreen:
    case Command::NormalScreen:
    case Command::ToggleFullScreen:
    case Command::ToggleOnTop:
    case Command::Minimize:
    case Command::Quit:
    case Command::AddSongs:
    case Command::SaveList:
    case Command::SelectLyric:
    case Command::ToggleListPanel:
    case Command::CloseListPanel:
        if (m_window)
            m_window->run(command);
        return;
    }
}

bool Player::isOn(Command command) const
{
    const SoundControls::BalancePreset preset = m_sound.balancePreset();
    switch (command) {
    case Command::PlaySong:
        return m_transport.PlayingFlag();
    case Command::PauseSong:
        return m_transport.PausedFlag();
    case Command::MuteSong:
        return m_sound.MutedFlag();
    case Command::Stereo:
        return preset == SoundControls::BalancePreset::Stereo;
    case Command::LeftChannel:
        return preset == SoundControls::BalancePreset::Left;
    case Command::RightChannel:
        return preset == SoundControls::BalancePreset::Right;
    case Command::ToggleLyrics:
        return m_position.showsLyrics();
    case Command::ToggleDesktopLyrics:
        return m_desktopLyrics.settings().shown;
    case Command::LockDesktopLyrics:
        return m_desktopLyrics.settings().locked;
    case Command::ToggleLoop:
        return m_transport.LoopMode();
    case Command::ToggleRandom:
        return m_transport.RandomMode();
    case Command::ToggleFullScreen:
        return m_window && m_window->isFullScreenShown();
    case Command::ToggleOnTop:
        return m_window && m_window->isOnTop();
    default:
        return false;
    }
}

void Player::HandleKey(int keyCode, int shift)
{
    if (const std::optional<Command> command = commandForKey(keyCode, shift))
        run(*command);
}

bool Player::clickPanel(int x, int y)
{
    return m_position.clickTrack(x, y) || m_sound.clickTrack(x, y);
}

void Player::shiftLyrics(double seconds)
{
    if (m_transport.loadedTrack() == 0)
        return;
    m_position.shiftLyricOffset(seconds);
    m_lyricOffsets.setOffset(m_media.fileName(),
                             int(std::lround(m_position.lyricOffset() * 1000)));
}

void Player::start(const CommandLineSongs &songs)
{
    m_lyricOffsets.load();
    m_media.setVolume(m_session.settings().volume);
    m_sound.ShowVolume();
    // Arguments that give no song leave the list of the previous run as it was.
    const auto restore = [this] {
        m_session.loadSavedList(
            [this](const PlaylistEntries &saved) { m_transport.restoreList(saved); });
    };
    if (songs.isEmpty())
        restore();
    else
        m_transport.openSongs(songs, restore);
}

QList<Session::WriteFailure> Player::stop()
{
    m_session.endRun();
    m_transport.shutDown();
    QList<Session::WriteFailure> failures;
    for (const auto &[path, written] :
         {std::pair(m_lyricOffsets.path(), m_lyricOffsets.flush()),
          std::pair(m_desktopLyrics.path(), m_desktopLyrics.flush())}) {
        if (!written.ok)
            failures.append({path, written.error});
    }
    return failures;
}
