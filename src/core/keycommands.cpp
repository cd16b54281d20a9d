#include "core/keycommands.h"

#include "core/playbackposition.h"
#include "core/soundcontrols.h"
#include "core/transport.h"
#include "core/windowcommands.h"

KeyCommands::KeyCommands(Transport &transport, PlaybackPosition &position, SoundControls &sound,
                         WindowCommands &window)
    : m_transport(transport), m_position(position), m_sound(sound), m_window(window)
{}

void KeyCommands::HandleKey(int keyCode, int shift)
{
    const auto key = VirtualKey(keyCode);
    if (shift == KeyModifier::Alt) {
        if (key == VirtualKey::Enter)
            m_window.FullScr();
        else if (key == VirtualKey::F4)
            m_window.UnloadMe();
        return;
    }
    if (shift == KeyModifier::Ctrl)
        return;
    switch (key) {
    case VirtualKey::Plus:
        m_transport.NextSong();
        break;
    case VirtualKey::Minus:
        m_transport.PreviousSong();
        break;
    case VirtualKey::P:
        m_transport.PlaySong();
        break;
    case VirtualKey::Enter:
        m_transport.PauseSong();
        break;
    case VirtualKey::M:
        m_sound.MuteSong();
        break;
    case VirtualKey::Up:
        m_sound.VolumeUp();
        break;
    case VirtualKey::Down:
        m_sound.VolumeDown();
        break;
    case VirtualKey::Left:
        m_position.FastPre();
        break;
    case VirtualKey::Right:
        m_position.FastForward();
        break;
    case VirtualKey::F12:
        m_window.SetOntop();
        break;
    case VirtualKey::Escape:
        m_window.OrgScr();
        break;
    default:
        break;
    }
}
