#pragma once

#include <QObject>

#include "core/displaylabels.h"
#include "core/command.h"
#include "core/desktoplyricstore.h"
#include "core/lyricoffsets.h"
#include "core/playbackposition.h"
#include "core/session.h"
#include "core/soundcontrols.h"
#include "core/transport.h"

struct CommandLineSongs;
class MediaControl;
class WindowCommands;

// The player: the play order and state, the position with the lyrics, the sound controls,
// and the label texts they write. Keys, menus, buttons and the desktop's media controls all
// run its commands (see Command); the backend reports to its parts; the windows show the state
// through their change signals, which fire on real changes only. It works without a window:
// the window's commands then do nothing.
class Player : public QObject
{
    Q_OBJECT

public:
    // `readTags` reads a song's tags for its lyrics, on the lyric lookup's worker; without
    // it only lyric files named after the song are found.
    Player(MediaControl &media, Session &session, SongTagReader readTags = {},
           QObject *parent = nullptr);

    // The window that carries out the window's commands; nullptr for none.
    void attachWindow(WindowCommands *window) { m_window = window; }

    DisplayLabels &labels() { return m_labels; }
    Transport &transport() { return m_transport; }
    PlaybackPosition &position() { return m_position; }
    SoundControls &sound() { return m_sound; }
    // The desktop lyric window's settings, shown and locked among them.
    DesktopLyricStore &desktopLyrics() { return m_desktopLyrics; }

    // A left-button press on the skin at (x, y): seeks, or sets the volume or the balance,
    // when it falls in a track's band (tested in that order). True when it did.
    bool clickPanel(int x, int y);
    void run(Command command);
    // Whether the state that `command` switches is on: the check mark of its menu item.
    // False for a command that switches nothing.
    bool isOn(Command command) const;
    // A key press, with its virtual-key code and the KeyModifier bits: the key table's command.
    void HandleKey(int keyCode, int shift);

    // Start-up once the settings are read: the saved volume to the media control and its
    // knob, then the songs of the command line, or else (also when they hold none) the saved
    // list.
    void start(const CommandLineSongs &songs);
    // The first step of the shutdown: nothing new starts from here on, nothing plays, the
    // track is released, and the lyric offsets and desktop lyric settings not yet written are
    // written. Returns the files that could not be written.
    QList<Session::WriteFailure> stop();

    // The lyric offsets kept per song: the loaded track's is applied when it starts, and
    // LyricsEarlier and LyricsLater change it (by LyricOffsetStep seconds).
    LyricOffsets &lyricOffsets() { return m_lyricOffsets; }
    static constexpr double LyricOffsetStep = 0.5;

private:
    void shiftLyrics(double seconds);

    MediaControl &m_media;
    Session &m_session;
    DisplayLabels m_labels;
    PlaybackPosition m_position;
    Transport m_transport;
    SoundControls m_sound;
    LyricOffsets m_lyricOffsets;
    DesktopLyricStore m_desktopLyrics;
    WindowCommands *m_window = nullptr;
};
