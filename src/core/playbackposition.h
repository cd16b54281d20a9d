#pragma once

#include <optional>

#include <QObject>
#include <QString>
#include <QTimer>

#include "core/displaylabels.h"
#include "core/karaokesource.h"
#include "core/knob.h"
#include "lyrics/lyriclist.h"

class MediaControl;

// The position of the playing track as the window shows it: the time label, the lyric lines
// and the position knob, kept moving by `TimerMain` while a track plays; and seeking, which
// turns the knob's place into a time.
//
// The timer ticks at least every 10 ms while a track plays, but it sleeps through the ticks
// that could change nothing on the screen.
//
// The lyric offset moves the lyrics against the track: with an offset of +0.5 s every line
// comes half a second later, as the lines are held against the position less the offset.
class PlaybackPosition : public KaraokeSource
{
    Q_OBJECT

public:
    static constexpr int ShortestTickMs = 10;
    static constexpr int LongestTickMs = 500;

    // How long the song line shows a changed lyric offset.
    static constexpr int OffsetNoticeMs = 2000;


    PlaybackPosition(MediaControl &media, DisplayLabels &labels, QObject *parent = nullptr);

    Knob &knob() { return m_knob; }
    // Length of the current track in whole seconds; 0 before the first track and for a track
    // of unknown length.
    int SongSeconds() const { return m_songSeconds; }
    const LyricList &ListLyric() const { return m_lyrics; }
    LyricList &ListLyric() { return m_lyrics; }
    bool isTimerMainActive() const { return m_timerMain.isActive(); }
    // Whether the track moves (and the timer runs).
    bool isRunning() const override { return m_isPlaying; }
    // Whether the lyric labels show the lyric lines (on at start). Off, the lines still
    // follow playback unseen, and the labels keep the song line; on again, the line due now
    // shows at once.
    bool showsLyrics() const { return m_showsLyrics; }
    void setShowsLyrics(bool on);

    // The lyric offset in seconds (see above); 0 at each track's start.
    double lyricOffset() const { return m_lyricOffset; }
    // The line due at the new offset shows at once.
    void setLyricOffset(double seconds);
    // Moves the offset by `seconds` (up to MaxLyricOffsetMilliseconds either way) and shows
    // the new offset on the song line for OffsetNoticeMs, or until the next track starts.
    void shiftLyricOffset(double seconds);

    // The lines due at the media's position, offset applied.
    KaraokeLines karaokeLines() const override;
    // How many characters of karaokeLines().current are sung (0 … its size), fractional
    // inside the character being sung: word by word along the line's word stamps, else
    // evenly until the next line (see sungCharacters and lineEnd).
    double karaokeFill() const override;

    // A track has started: its length, the knob at the start of its travel, no lyric offset
    // and no lyrics until they are found.
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
    // The position on the lyrics' clock: the media's less the offset.
    double lyricPosition() const;
    // Selects and shows the line due at the position.
    void showLineDueNow();
    // The last item due at `seconds` on the lyrics' clock; -1 for none.
    int lineDueAt(double seconds) const;
    KaraokeLines karaokeLinesAt(int index) const;
    // Emits karaokeLinesChanged when the lines due changed since the last call.
    void updateKaraokeLines();
    void endOffsetNotice();

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
    double m_lyricOffset = 0;
    QTimer m_offsetNotice;
    // The notice shown on the song line, and the song line it stands in for.
    QString m_notice;
    QString m_songLine;
    // The lines karaokeLinesChanged last told, and the list's size then.
    KaraokeLines m_karaokeLines;
    int m_karaokeCount = 0;
};
