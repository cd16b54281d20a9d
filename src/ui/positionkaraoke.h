#pragma once

#include "ui/desktoplyrics.h"

class MediaControl;
class PlaybackPosition;
class Transport;
class DisplayLabels;

// The desktop lyric window's lines from the player: the lyric line due at the backend's
// position and the one after it, filled evenly over the time until the next line.
class PositionKaraoke : public KaraokeSource
{
    Q_OBJECT

public:
    PositionKaraoke(MediaControl &media, PlaybackPosition &position, Transport &transport,
                    DisplayLabels &labels, QObject *parent = nullptr);

    KaraokeLines karaokeLines() const override;
    double karaokeFill() const override;
    bool isRunning() const override;

private:
    // The index of the last lyric item due at `at` seconds; -1 before the first.
    int dueIndex(double at) const;

    MediaControl &m_media;
    PlaybackPosition &m_position;
    Transport &m_transport;
    bool m_isRunning = false;
};
