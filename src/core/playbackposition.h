#pragma once

#include <optional>

#include <QObject>
#include <QString>
#include <QTimer>

#include "core/displaylabels.h"
#include "core/knob.h"
#include "lyrics/lyriclist.h"

class MediaControl;

// The position of the playing track as the window shows it: the time label, the lyric lines
// and the position knob, kept moving by `TimerMain` while a track plays; and seeking, which
// turns the knob's place into a time.
//
// The timer ticks at least every 10 ms while a track plays, but it sleeps through the ticks
// that could change nothing on the screen.
class PlaybackPosition : public QObject
{
    Q_OBJECT

public:
    static constexpr int ShortestTickMs = 10;
    static constexpr int LongestTickMs = 500;

    PlaybackPosition(MediaControl &media, DisplayLabels &labels, QObject *parent = nullptr);

    Knob &knob() { return m_knob; }
    // Length of the current track in whole seconds; 0 before the first track and for a track
    // of unknown length.
    int SongSeconds() const { return m_songSeconds; }
    const LyricList &ListLyric() const { return m_lyrics; }
    LyricList &ListLyric() { return m_lyrics; }
    bool isTimerMainActive() const { return m_timerMain.isActive(); }
    // Whether the lyric labels show the lyric lines (on at start). Off, the lines still
    // follow playback unseen, and the labels keep the song line; on again, the line due now
    // shows at once.
    bool showsLyrics() const { return m_showsLyrics; }
    void setShowsLyrics(bool on);

    // A track has started: its length, the knob at the start of its travel, no lyrics until
    // they are found.
    void startTrack(int songSeconds);
    // The track's length has turned out different (0: unknown): the knob moves to the
    // position's place on the new scale, or to the start of its travel when unknown.
    void setSongSeconds(int songSeconds);
    // The track has ended and nothing follows: the timer stops, the time label shows where
    // it ended and the knob stands at the end of its travel.
    void showEnd();
    // The lyrics found for the current track. When the timer is not running (a track loaded
    // paused), one lyric step at the current position shows what is due.
    void setLyrics(const LyricList &lyrics);
    // After a stop the lyrics start over from their first line.
    void rewindLyrics();
    // Whether the track moves: the timer runs while it does, and how long it may sleep
    // depends on it.
    void setRunning(bool running);

    void onTimerMain();
    // Milliseconds from `position` until the next tick that can change what the window shows
    // while the track plays: the time label's next second, the knob's next step, the next
    // lyric line or its blank. Between ShortestTickMs and LongestTickMs; the longest when the
    // track does not move.
    int nextTickDelay(float position) const;
    // Writes `seconds` into the time label as mm:ss (at least two digits of minutes).
    void ShowTime(float seconds);
    // Seeks to the knob's place and runs the timer, also while paused or stopped.
    void SeekToSlider();
    // Seeks to `seconds` from the track's start (limited to 0 … SongSeconds) as a click on the
    // track at that time would: the knob goes to that fraction of the length, then
    // SeekToSlider. Nothing happens while the length is unknown (0).
    void seekTo(double seconds);
    // On or back from the position by five pixels' worth of the track (5/218 of it), or by
    // FallbackStepSeconds while its length is unknown. Forward the seek is not limited to
    // the length, which may be a guess: past the real end the track ends.
    void FastForward();
    void FastPre();
    static constexpr double FallbackStepSeconds = 5;
    // `seconds` on or back from the position (not before the start, and not limited to the
    // length), the knob placed there.
    void seekBy(double seconds);
    // The mouse on the knob: `offsetX` is the pointer's distance from its left edge.
    void positionKnobDragged(int offsetX);
    void positionKnobReleased();
    // A left-button press at (x, y) on the skin: seeks when it falls in the track's band.
    bool clickTrack(int x, int y);

signals:
    void showsLyricsChanged();
    // A seek went to `seconds` from the track's start.
    void seeked(double seconds);

private:
    // Seeks the backend to `seconds`, with the lyric line and the time shown at once.
    void seekToTime(float seconds);
    void placeKnobAt(double seconds);
    void startTimer();
    void stopTimer();
    void showLyric(const std::optional<QString> &text);

    MediaControl &m_media;
    DisplayLabels &m_labels;
    Knob m_knob{Skin::PositionTrack};
    LyricList m_lyrics;
    QTimer m_timerMain;
    int m_songSeconds = 0;
    // The whole seconds LTime shows (it starts at "00:00").
    long m_shownSeconds = 0;
    bool m_isPlaying = false;
    bool m_showsLyrics = true;
    // Whether the labels show a lyric line (or its blank) of the current track.
    bool m_isLyricShown = false;
};
