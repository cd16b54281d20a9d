#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "core/playlist.h"
#include "lyrics/lyriclist.h"

class LyricFileChooser;
class MediaControl;
class WindowCommands;

// Where the three knobs sit on the skin panel, in panel pixels. The click bands of the
// tracks are derived from them.
struct KnobPlacement
{
    int positionTop = 72;
    int positionHeight = 10;
    int volumeTop = 58;
    int volumeHeight = 11;
    int balanceTop = 58;
    int balanceHeight = 11;
};

// The travel of the three knobs and the click bands of their tracks, in panel pixels.
// A knob's `Left` runs from its slider's Left limit to its Right limit; a click on a
// track counts when Top < y <= Bottom.
struct SliderLimits
{
    int PosSliderLeft = 17;
    int PosSliderRight = 235;
    int PosSliderTop = 72;
    int PosSliderBottom = 82;
    int VolSliderLeft = 108;
    int VolSliderRight = 158;
    int VolSliderTop = 58;
    int VolSliderBottom = 69;
    int BalSliderLeft = 178;
    int BalSliderRight = 200;
    int BalSliderTop = 58;
    int BalSliderBottom = 69;
};

// The player: the playlist, the play state, the three knobs and the texts of the labels
// that show them, and every command that changes them. Buttons, menus, keys and the
// backend's end of track only call these commands; the window shows the state through
// the change signals, which fire on real changes only.
//
// Everything runs on the one user-interface thread. Starting a track that cannot be
// opened lets pending events run once before it skips on (so the window stays alive
// through a list of broken files); a command that arrives then takes over.
class Player : public QObject
{
    Q_OBJECT

public:
    // The labels whose texts the player writes.
    enum class Label { LTime, LInfo, LTxtMin, LTxtMax };
    // The check marks of the balance presets; None after the knob was dragged.
    enum class BalancePreset { None, Left, Stereo, Right };
    // Modifier bits of HandleKey.
    static constexpr int ShiftKey = 1;
    static constexpr int CtrlKey = 2;
    static constexpr int AltKey = 4;
    // The grip point of a knob: how far from its left edge the pointer holds it.
    static constexpr int PositionGrip = 14;
    static constexpr int SmallKnobGrip = 5;
    static constexpr int ShortestTickMs = 10;
    static constexpr int LongestTickMs = 500;

    Player(MediaControl &media, WindowCommands &window, QObject *parent = nullptr);

    // State and playlist, as the commands left them.
    void InitPlayerState(const KnobPlacement &knobs = {});
    Playlist &ListSong() { return m_playlist; }
    const LyricList &ListLyric() const { return m_lyrics; }
    // The lyric folders searched after the song's own folder, ending in the "[END]" mark.
    const QStringList &ListLyricDir() const { return m_lyricDirs; }
    void setListLyricDir(const QStringList &folders) { m_lyricDirs = folders; }
    const Playlist &ListSong() const { return m_playlist; }
    const SliderLimits &limits() const { return m_limits; }
    int SongSeconds() const { return m_songSeconds; }
    bool PlayingFlag() const { return m_playingFlag; }
    bool PausedFlag() const { return m_pausedFlag; }
    bool MutedFlag() const { return m_mutedFlag; }
    BalancePreset balancePreset() const { return m_balancePreset; }
    bool AppRunning() const { return m_appRunning; }
    bool LoopMode() const { return m_loopMode; }
    bool RandomMode() const { return m_randomMode; }
    void setLoopMode(bool on);
    void setRandomMode(bool on);
    bool isTimerMainActive() const { return m_timerMain.isActive(); }
    // Left edges of the knobs in panel pixels; fractional after ShowVolume.
    double positionKnobLeft() const { return m_positionKnobLeft; }
    double volumeKnobLeft() const { return m_volumeKnobLeft; }
    double balanceKnobLeft() const { return m_balanceKnobLeft; }
    QString labelText(Label label) const;

    // Playback and play order.
    void PlaySong();
    void PauseSong();
    void StopSong();
    void NextSong();
    void PreviousSong();
    void DelSelectedSong();
    // Lets the user add the lines of a lyric file of their choice to the current lyrics.
    void OpenLyric(LyricFileChooser &chooser);

    // Position and seeking. The timer ticks at least every 10 ms while a track plays, but
    // it sleeps through the ticks that could change nothing on the screen.
    void onTimerMain();
    // Milliseconds from `position` until the next tick that can change what the player
    // shows while the track plays: the time label's next second, the knob's next step, the
    // next lyric line or its blank. Between ShortestTickMs and LongestTickMs; the longest
    // when the track does not move.
    int nextTickDelay(float position) const;
    void ShowTime(float seconds);
    void SeekToSlider();
    void FastForward();
    void FastPre();

    // Volume, mute and balance.
    void SetMediaVolume();
    void ShowVolume();
    void VolumeUp();
    void VolumeDown();
    void MuteSong();
    void SetMediaBalance();
    // 0 left, 1 centre (stereo), 2 right; other values only resend the knob's balance.
    void SetBanlance(int what);

    // Mouse on the knobs and tracks, in panel pixels. `offsetX` is the pointer's
    // distance from the knob's left edge while the left button is held.
    void positionKnobDragged(int offsetX);
    void positionKnobReleased();
    void volumeKnobDragged(int offsetX);
    void balanceKnobDragged(int offsetX);
    void balanceKnobReleased();
    // A left-button press on the panel at (x, y): seeks, or sets the volume or the
    // balance, when it falls in a track's band. True when it did.
    bool clickPanel(int x, int y);

    // Keys, with Windows virtual-key codes and the modifier bits above.
    void HandleKey(int keyCode, int shift);

    // Start-up: the command-line text (arguments joined by single spaces) is played as
    // one file or one playlist; without it the list saved in `defaultListPath` comes
    // back with its first song loaded and paused at 0.
    void LoadCommandSong(const QString &commandText, const QString &defaultListPath);
    // The player's part of shutdown: stops the slideshow flag, writes the list, releases
    // the track and the timer. Returns what could not be written ("" when all went well).
    QString shutDown(const QString &defaultListPath);

signals:
    void labelChanged(Player::Label label, const QString &text);
    // Play state, mute and balance-preset marks (the menu's check marks).
    void flagsChanged();
    void modesChanged();
    void positionKnobMoved(double left);
    void volumeKnobMoved(double left);
    void balanceKnobMoved(double left);

private:
    enum class StartMode { Play, Cue };
    enum class StartResult { Started, NothingToPlay, Failed };

    void startSong(StartMode mode);
    StartResult startCurrentEntry(StartMode mode);
    void moveCurrentEntry(int step);
    void setFlags(bool playing, bool paused);
    void setLabel(Label label, const QString &text);
    void showLyric(const std::optional<QString> &text);
    void setPositionKnobLeft(double left);
    void setVolumeKnobLeft(double left);
    void setBalanceKnobLeft(double left);
    void setBalancePreset(BalancePreset preset);
    QString songLine() const;

    MediaControl &m_media;
    WindowCommands &m_window;
    Playlist m_playlist;
    LyricList m_lyrics;
    QStringList m_lyricDirs;
    SliderLimits m_limits;
    QTimer m_timerMain;
    QString m_labels[4] = {QStringLiteral("00:00"), QString(), QStringLiteral("ZorvanPlayer"),
                           QStringLiteral("岚铃播放器")};
    int m_songSeconds = 0;
    // The whole seconds LTime shows (it starts at "00:00").
    long m_shownSeconds = 0;
    bool m_playingFlag = false;
    bool m_pausedFlag = true;
    bool m_mutedFlag = false;
    BalancePreset m_balancePreset = BalancePreset::Stereo;
    bool m_appRunning = true;
    bool m_loopMode = true;
    bool m_randomMode = false;
    double m_positionKnobLeft = 17;
    double m_volumeKnobLeft = 108;
    double m_balanceKnobLeft = 190;
    // Grows with every play command, so a start that let events run can tell that a
    // newer command has taken over.
    quint64 m_playRequest = 0;
};
