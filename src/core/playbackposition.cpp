#include "core/playbackposition.h"

#include <algorithm>
#include <cmath>

#include "core/mediacontrol.h"
#include "core/rounding.h"
#include "lyrics/lyricdisplay.h"

namespace {

constexpr int StepPixels = 5;

} // namespace

PlaybackPosition::PlaybackPosition(MediaControl &media, DisplayLabels &labels, QObject *parent)
    : QObject(parent), m_media(media), m_labels(labels)
{
    m_timerMain.setInterval(ShortestTickMs);
    m_timerMain.setTimerType(Qt::PreciseTimer);
    connect(&m_timerMain, &QTimer::timeout, this, &PlaybackPosition::onTimerMain);
}

void PlaybackPosition::startTrack(int songSeconds)
{
    m_songSeconds = songSeconds;
    m_lyrics.clear();
    m_isLyricShown = false;
    m_knob.setLeft(m_knob.track().left);
}

void PlaybackPosition::setSongSeconds(int songSeconds)
{
    m_songSeconds = songSeconds;
    placeKnobAt(m_media.currentPosition());
}

void PlaybackPosition::placeKnobAt(double seconds)
{
    const double fraction = m_songSeconds > 0 ? std::clamp(seconds / m_songSeconds, 0.0, 1.0) : 0;
    m_knob.setLeft(m_knob.leftAt(fraction));
}

void PlaybackPosition::showEnd()
{
    setRunning(false);
    const double end = std::max(m_media.currentPosition(), double(m_songSeconds));
    ShowTime(float(end));
    placeKnobAt(end);
}

void PlaybackPosition::setLyrics(const LyricList &lyrics)
{
    m_lyrics = lyrics;
    if (!m_timerMain.isActive())
        showLyric(SyncLyric(m_lyrics, float(m_media.currentPosition())));
}

void PlaybackPosition::rewindLyrics()
{
    m_lyrics.select(0);
}

void PlaybackPosition::setRunning(bool running)
{
    m_isPlaying = running;
    if (running)
        startTimer();
    else
        stopTimer();
}

void PlaybackPosition::startTimer()
{
    m_timerMain.start(ShortestTickMs);
}

void PlaybackPosition::stopTimer()
{
    m_timerMain.stop();
}

void PlaybackPosition::onTimerMain()
{
    const float position = float(m_media.currentPosition());
    ShowTime(position);
    showLyric(SyncLyric(m_lyrics, position));
    // A track of unknown length leaves the knob where it is. The tick only moves the knob
    // forward and ignores steps of a pixel, so the knob does not jitter; seeks place it
    // themselves.
    if (m_songSeconds > 0) {
        const Skin::SliderTrack &track = m_knob.track();
        // A length that was a guess may be passed: the knob waits at the end of its travel.
        const long target =
            std::min(roundHalfEven(position / float(m_songSeconds) * float(track.travel()) +
                                   float(track.left)),
                     long(track.right));
        if (double(target) - m_knob.left() > 1)
            m_knob.setLeft(double(target));
    }
    m_timerMain.setInterval(nextTickDelay(position));
}

int PlaybackPosition::nextTickDelay(float position) const
{
    if (!m_isPlaying)
        return LongestTickMs;
    double wait = LongestTickMs / 1000.0;
    auto changeAt = [&](double seconds) {
        if (seconds > position)
            wait = std::min(wait, seconds - position);
    };
    // The time label rounds, so its text changes at (or, for a half that rounds down to an
    // even second, just after) half a second past each whole second.
    wait = std::min(wait, std::ceil(position - 0.5) + 0.5 - position);
    // The knob steps once its target is two pixels on.
    if (m_songSeconds > 0) {
        const Skin::SliderTrack &track = m_knob.track();
        changeAt((m_knob.left() + 1.5 - track.left) * m_songSeconds / track.travel());
    }
    // The next lyric line blanks the labels 0.2 s before it is due; lines that are due
    // already are caught up one per tick.
    const int due = m_lyrics.selectedIndex();
    const double dueAt = m_lyrics.seconds(due);
    if (dueAt > position + LyricBlankLead)
        changeAt(dueAt - LyricBlankLead);
    else if (dueAt > position)
        changeAt(dueAt);
    else if (due + 1 < m_lyrics.count())
        wait = 0;
    // Whole milliseconds, rounded up (forgiving the error of decimal times in binary).
    return std::clamp(int(std::ceil(wait * 1000 - 1e-6)), ShortestTickMs, LongestTickMs);
}

void PlaybackPosition::ShowTime(float seconds)
{
    // The tick shows the time a hundred times a second; the text changes once a second.
    const long whole = roundHalfEven(seconds);
    if (whole == m_shownSeconds)
        return;
    m_shownSeconds = whole;
    m_labels.setText(DisplayLabels::Label::LTime, QStringLiteral("%1:%2")
                                                      .arg(whole / 60, 2, 10, QLatin1Char('0'))
                                                      .arg(whole % 60, 2, 10, QLatin1Char('0')));
}

void PlaybackPosition::SeekToSlider()
{
    seekToTime(std::clamp(m_knob.fraction() * float(m_songSeconds), 0.0f, float(m_songSeconds)));
}

void PlaybackPosition::seekToTime(float seconds)
{
    showLyric(refindLyricLine(m_lyrics, seconds));
    m_media.setCurrentPosition(seconds);
    ShowTime(seconds);
    startTimer();
    emit seeked(seconds);
}

void PlaybackPosition::seekTo(double seconds)
{
    if (m_songSeconds <= 0 || std::isnan(seconds))
        return;
    m_knob.setLeft(m_knob.leftAt(std::clamp(seconds / m_songSeconds, 0.0, 1.0)));
    SeekToSlider();
}

void PlaybackPosition::FastForward()
{
    seekBy(m_songSeconds > 0 ? m_songSeconds * StepPixels / double(m_knob.track().travel())
                             : FallbackStepSeconds);
}

void PlaybackPosition::FastPre()
{
    seekBy(m_songSeconds > 0 ? -m_songSeconds * StepPixels / double(m_knob.track().travel())
                             : -FallbackStepSeconds);
}

void PlaybackPosition::seekBy(double seconds)
{
    const double target = std::max(0.0, m_media.currentPosition() + seconds);
    if (m_songSeconds > 0)
        placeKnobAt(target);
    seekToTime(float(target));
}

void PlaybackPosition::positionKnobDragged(int offsetX)
{
    stopTimer();
    m_knob.dragTo(offsetX);
}

void PlaybackPosition::positionKnobReleased()
{
    SeekToSlider();
}

bool PlaybackPosition::clickTrack(int x, int y)
{
    if (!m_knob.track().bandContains(x, y))
        return false;
    m_knob.clickAt(x);
    SeekToSlider();
    return true;
}

void PlaybackPosition::setShowsLyrics(bool on)
{
    if (m_showsLyrics == on)
        return;
    m_showsLyrics = on;
    if (on) {
        const float position = float(m_media.currentPosition());
        // Past the last line the refind leaves that line for the next step to show.
        std::optional<QString> line = refindLyricLine(m_lyrics, position);
        if (!line)
            line = SyncLyric(m_lyrics, position);
        showLyric(line);
    } else if (m_isLyricShown) {
        m_isLyricShown = false;
        m_labels.setText(DisplayLabels::Label::LTxtMin, QString());
        m_labels.setText(DisplayLabels::Label::LTxtMax, m_labels.text(DisplayLabels::Label::LInfo));
    }
    emit showsLyricsChanged();
}

void PlaybackPosition::showLyric(const std::optional<QString> &text)
{
    if (!text || !m_showsLyrics)
        return;
    m_isLyricShown = true;
    m_labels.setText(DisplayLabels::Label::LTxtMin, *text);
    m_labels.setText(DisplayLabels::Label::LTxtMax, *text);
}
