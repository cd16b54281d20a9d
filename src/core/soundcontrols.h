#pragma once

#include <QObject>

#include "core/knob.h"

class MediaControl;

// Loudness, mute and the left-right balance. The volume and balance knobs are the settings:
// every change moves a knob first and then sends the value derived from its place to the
// media control. Mute is a switch of its own that leaves the volume alone.
class SoundControls : public QObject
{
    Q_OBJECT

public:
    // The check marks of the balance presets; None after the knob was dragged.
    enum class BalancePreset { None, Left, Stereo, Right };

    explicit SoundControls(MediaControl &media, QObject *parent = nullptr);

    Knob &volumeKnob() { return m_volumeKnob; }
    Knob &balanceKnob() { return m_balanceKnob; }
    bool MutedFlag() const { return m_mutedFlag; }
    BalancePreset balancePreset() const { return m_balancePreset; }

    // Sends the volume knob's value: -3000 (the leftmost eighth of the travel and below) to 0
    // hundredths of a decibel.
    void SetMediaVolume();
    // Places the volume knob from the control's volume, not limited (-3000 gives 120.5).
    void ShowVolume();
    // Where the volume knob stands on its travel: 0 at the left end, 1 at the right end; a
    // knob that a saved volume placed beyond an end counts as that end.
    double volumeFraction() const;
    // Puts the volume knob at `fraction` of its travel (limited to 0 … 1) and sends its
    // volume. A value that is not a number changes nothing.
    void setVolumeFraction(double fraction);
    // Two pixels, 160 hundredths of a decibel, up or down, stopping at the ends.
    void VolumeUp();
    void VolumeDown();
    void MuteSong();
    // Sends the balance knob's value: -5000 (full left) to +5000 (full right).
    void SetMediaBalance();
    // 0 left, 1 centre (stereo), 2 right; other values only resend the knob's balance. The name
    // is spelt as the design spells it.
    void SetBanlance(int what);

    // The mouse on the knobs, `offsetX` being the pointer's distance from the knob's left edge.
    void volumeKnobDragged(int offsetX);
    void balanceKnobDragged(int offsetX);
    void balanceKnobReleased();
    // A left-button press at (x, y) on the skin: sets the volume or the balance when it falls
    // in that track's band. True when it did.
    bool clickTrack(int x, int y);

signals:
    // The mute mark or the balance preset marks changed.
    void flagsChanged();

private:
    void setBalancePreset(BalancePreset preset);

    MediaControl &m_media;
    Knob m_volumeKnob{Skin::VolumeTrack};
    Knob m_balanceKnob{Skin::BalanceTrack};
    bool m_mutedFlag = false;
    BalancePreset m_balancePreset = BalancePreset::Stereo;
};
