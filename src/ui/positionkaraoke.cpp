#include "ui/positionkaraoke.h"

#include <algorithm>
#include <cmath>

#include "core/displaylabels.h"
#include "core/mediacontrol.h"
#include "core/playbackposition.h"
#include "core/transport.h"

PositionKaraoke::PositionKaraoke(MediaControl &media, PlaybackPosition &position,
                                 Transport &transport, DisplayLabels &labels, QObject *parent)
    : KaraokeSource(parent), m_media(media), m_position(position), m_transport(transport)
{
    // The lyric labels change when a line falls due; a seek may skip lines without changing
    // them.
    connect(&labels, &DisplayLabels::changed, this, [this](DisplayLabels::Label label) {
        if (label == DisplayLabels::Label::LTxtMin)
            emit karaokeLinesChanged();
    });
    connect(&position, &PlaybackPosition::seeked, this, &KaraokeSource::karaokeLinesChanged);
    connect(&transport, &Transport::flagsChanged, this, [this] {
        if (m_transport.PlayingFlag() == m_isRunning)
            return;
        m_isRunning = m_transport.PlayingFlag();
        emit karaokeLinesChanged();
        emit runningChanged(m_isRunning);
    });
}

int PositionKaraoke::dueIndex(double at) const
{
    const LyricList &lyrics = m_position.ListLyric();
    int index = -1;
    while (index + 1 < lyrics.count() && lyrics.seconds(index + 1) <= at)
        ++index;
    return index;
}

KaraokeSource::KaraokeLines PositionKaraoke::karaokeLines() const
{
    const LyricList &lyrics = m_position.ListLyric();
    const int index = dueIndex(m_media.currentPosition());
    return {index, lyrics.shownText(index), lyrics.shownText(index + 1)};
}

double PositionKaraoke::karaokeFill() const
{
    const LyricList &lyrics = m_position.ListLyric();
    const double at = m_media.currentPosition();
    const int index = dueIndex(at);
    const double length = double(lyrics.shownText(index).size());
    const double start = lyrics.seconds(index);
    const double end = lyrics.seconds(index + 1);
    // The last line has no end to fill towards: it shows sung at once.
    if (!std::isfinite(end) || end <= start)
        return length;
    return length * std::clamp((at - start) / (end - start), 0.0, 1.0);
}

bool PositionKaraoke::isRunning() const
{
    return m_isRunning;
}
