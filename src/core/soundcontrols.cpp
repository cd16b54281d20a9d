#include "core/soundcontrols.h"

#include <algorithm>
#include <cmath>

#include "core/mediacontrol.h"
#include "core/rounding.h"

namespace {

constexpr float QuietestVolume = -3000;
constexpr float BalanceLimit = 5000;
constexpr int VolumeStep = 2;

} // namespace

SoundControls::SoundControls(MediaControl &media, QObject *parent) : QObject(parent), m_media(media)
{}

void SoundControls::SetMediaVolume()
{
    // The travel spans 40 dB, but the quietest setting is -30 dB.
    const float volume = m_volumeKnob.fraction() * 4000.0f - 4000.0f;
    m_media.setVolume(int(roundHalfEven(std::clamp(volume, QuietestVolume, 0.0f))));
}

void SoundControls::ShowVolume()
{
    m_volumeKnob.setLeft(m_volumeKnob.leftAt((m_media.volume() + 4000.0) / 4000.0));
}

double SoundControls::volumeFraction() const
{
    return std::clamp(double(m_volumeKnob.fraction()), 0.0, 1.0);
}

void SoundControls::setVolumeFraction(double fraction)
{
    if (std::isnan(fraction))
        return;
    m_volumeKnob.setLeft(m_volumeKnob.leftAt(std::clamp(fraction, 0.0, 1.0)));
    SetMediaVolume();
}

void SoundControls::VolumeUp()
{
    m_volumeKnob.step(VolumeStep);
    SetMediaVolume();
}

void SoundControls::VolumeDown()
{
    m_volumeKnob.step(-VolumeStep);
    SetMediaVolume();
}

void SoundControls::MuteSong()
{
    m_mutedFlag = !m_mutedFlag;
    m_media.setMute(m_mutedFlag);
    emit flagsChanged();
}

void SoundControls::SetMediaBalance()
{
    const float balance = m_balanceKnob.fraction() * 10000.0f - 5000.0f;
    m_media.setBalance(int(roundHalfEven(std::clamp(balance, -BalanceLimit, BalanceLimit))));
}

void SoundControls::SetBanlance(int what)
{
    static constexpr BalancePreset presets[] = {BalancePreset::Left, BalancePreset::Stereo,
                                                BalancePreset::Right};
    if (what >= 0 && what <= 2)
        m_balanceKnob.setLeft(m_balanceKnob.leftAt(what / 2.0));
    setBalancePreset(what >= 0 && what <= 2 ? presets[what] : BalancePreset::None);
    SetMediaBalance();
}

void SoundControls::volumeKnobDragged(int offsetX)
{
    m_volumeKnob.dragTo(offsetX);
    SetMediaVolume();
}

void SoundControls::balanceKnobDragged(int offsetX)
{
    m_balanceKnob.dragTo(offsetX);
    SetMediaBalance();
}

void SoundControls::balanceKnobReleased()
{
    setBalancePreset(BalancePreset::None);
}

bool SoundControls::clickTrack(int x, int y)
{
    if (m_volumeKnob.track().bandContains(x, y)) {
        m_volumeKnob.clickAt(x);
        SetMediaVolume();
        return true;
    }
    // The preset marks stay as they were.
    if (m_balanceKnob.track().bandContains(x, y)) {
        m_balanceKnob.clickAt(x);
        SetMediaBalance();
        return true;
    }
    return false;
}

void SoundControls::setBalancePreset(BalancePreset preset)
{
    if (m_balancePreset == preset)
        return;
    m_balancePreset = preset;
    emit flagsChanged();
}
