#include "core/playbackposition.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/mediacontrol.h"
#include "core/rounding.h"
#include "lyrics/karaoke.h"
#include "lyrics/lyricdisplay.h"
#include "persist/lyricoffsetfile.h"

namespace {

constexpr int StepPixels = 5;

QString lyricOffsetNotice(double seconds)
{
    if (seconds == 0)
        return QStringLiteral("歌词时间未调整");
    return (seconds > 0 ? QStringLiteral("歌词延后 %1 秒") : QStringLiteral("歌词提前 %1 秒"))
        .arg(std::abs(seconds), 0, 'f', 1);
}

} // namespace

PlaybackPosition::PlaybackPosition(MediaControl &media, DisplayLabels &labels, QObject *parent)
    : KaraokeSource(parent), m_media(media), m_labels(labels)
{
    m_timerMain.setInterval(ShortestTickMs);
    m_timerMain.setTimerType(Qt::PreciseTimer);
    connect(&m_timerMain, &QTimer::timeout, this, &PlaybackPosition::onTimerMain);
    m_offsetNotice.setSingleShot(true);
    m_offsetNotice.setInterval(OffsetNoticeMs);
    connect(&m_offsetNotice, &QTimer::timeout, this, &PlaybackPosition::endOffsetNotice);
}

void PlaybackPosition::startTrack(int songSeconds)
{
    m_songSeconds = songSeconds;
    m_lyrics.clear();
    m_isLyricShown = false;
    m_lyricOffset = 0;
    // The new track writes its own song line.
    m_offsetNotice.stop();
    m_knob.setLeft(m_knob.track().left);
    updateKaraokeLines();
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
        showLyric(SyncLyric(m_lyrics, float(lyricPosition())));
    // Lines of the same count may differ in their texts.
    m_karaokeCount = -1;
    updateKaraokeLines();
}

void PlaybackPosition::rewindLyrics()
{
    m_lyrics.select(0);
    updateKaraokeLines();
}

void PlaybackPosition::setLyricOffset(double seconds)
{
    if (seconds == m_lyricOffset)
        return;
    m_lyricOffset = seconds;
    showLineDueNow();
    updateKaraokeLines();
    // The next line is due at another time: the next tick finds when.
    if (m_timerMain.isActive())
        startTimer();
}

void PlaybackPosition::shiftLyricOffset(double seconds)
{
    constexpr double most = MaxLyricOffsetMilliseconds / 1000.0;
    setLyricOffset(std::clamp(m_lyricOffset + seconds, -most, most));
    if (!m_offsetNotice.isActive())
        m_songLine = m_labels.text(DisplayLabels::Label::LInfo);
    m_notice = lyricOffsetNotice(m_lyricOffset);
    m_labels.setText(DisplayLabels::Label::LInfo, m_notice);
    // Full screen shows the song line where no lyric line is shown.
    if (!m_isLyricShown)
        m_labels.setText(DisplayLabels::Label::LTxtMax, m_notice);
    m_offsetNotice.start();
}

void PlaybackPosition::endOffsetNotice()
{
    for (DisplayLabels::Label label : {DisplayLabels::Label::LInfo, DisplayLabels::Label::LTxtMax}) {
        if (m_labels.text(label) == m_notice)
            m_labels.setText(label, m_songLine);
    }
}

PlaybackPosition::KaraokeLines PlaybackPosition::karaokeLines() const
{
    return karaokeLinesAt(lineDueAt(lyricPosition()));
}

double PlaybackPosition::karaokeFill() const
{
    const double position = lyricPosition();
    const int index = lineDueAt(position);
    if (index < 0)
        return 0;
    const double start = m_lyrics.seconds(index);
    const double trackEnd = m_songSeconds > 0 ? m_songSeconds - m_lyricOffset
                                              : -std::numeric_limits<double>::infinity();
    return sungCharacters(int(m_lyrics.shownText(index).size()), m_lyrics.words(index), start,
                          lineEnd(start, m_lyrics.seconds(index + 1), trackEnd), position);
}

double PlaybackPosition::lyricPosition() const
{
    return m_media.currentPosition() - m_lyricOffset;
}

int PlaybackPosition::lineDueAt(double seconds) const
{
    // The items are in time order: the first one after `seconds` follows the one due.
    int low = 0;
    int high = m_lyrics.count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (m_lyrics.seconds(middle) <= seconds)
            low = middle + 1;
        else
            high = middle;
    }
    return low - 1;
}

PlaybackPosition::KaraokeLines PlaybackPosition::karaokeLinesAt(int index) const
{
    return {index, m_lyrics.shownText(index), m_lyrics.shownText(index + 1)};
}

void PlaybackPosition::updateKaraokeLines()
{
    const int index = lineDueAt(lyricPosition());
    if (index == m_karaokeLines.index && m_lyrics.count() == m_karaokeCount)
        return;
    m_karaokeCount = m_lyrics.count();
    KaraokeLines lines = karaokeLinesAt(index);
    if (lines == m_karaokeLines)
        return;
    m_karaokeLines = std::move(lines);
    emit karaokeLinesChanged();
}

void PlaybackPosition::setRunning(bool running)
{
    if (m_isPlaying != running) {
        m_isPlaying = running;
        emit runningChanged(running);
    }
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
    showLyric(SyncLyric(m_lyrics, position - float(m_lyricOffset)));
    updateKaraokeLines();
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
    const double dueAt = m_lyrics.seconds(due) + m_lyricOffset;
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
    showLyric(refindLyricLine(m_lyrics, seconds - float(m_lyricOffset)));
    m_media.setCurrentPosition(seconds);
    ShowTime(seconds);
    updateKaraokeLines();
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
        showLineDueNow();
    } else if (m_isLyricShown) {
        m_isLyricShown = false;
        m_labels.setText(DisplayLabels::Label::LTxtMin, QString());
        m_labels.setText(DisplayLabels::Label::LTxtMax, m_labels.text(DisplayLabels::Label::LInfo));
    }
    emit showsLyricsChanged();
}

void PlaybackPosition::showLineDueNow()
{
    const float position = float(lyricPosition());
    // Past the last line the refind leaves that line for the next step to show.
    std::optional<QString> line = refindLyricLine(m_lyrics, position);
    if (!line)
        line = SyncLyric(m_lyrics, position);
    showLyric(line);
}

void PlaybackPosition::showLyric(const std::optional<QString> &text)
{
    if (!text || !m_showsLyrics)
        return;
    m_isLyricShown = true;
    m_labels.setText(DisplayLabels::Label::LTxtMin, *text);
    m_labels.setText(DisplayLabels::Label::LTxtMax, *text);
}
