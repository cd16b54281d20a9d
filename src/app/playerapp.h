#pragma once

#include <QObject>

#include "core/player.h"
#include "dialogs/fmtmp.h"
#include "slideshow/slideshow.h"
#include "ui/desktoplyrics.h"
#include "ui/fmmain.h"
#include "ui/playermenus.h"

struct CommandLineSongs;
class LyricFileChooser;
class MediaControl;
class PlaylistFileDialogs;
class Session;
class UserMessages;

// The player as a program: the player, its main window with the menus, and the slideshow of
// the full-screen face. It starts them in order and runs the ordered shutdown, whichever way
// the window is closed. main() builds one over the real services; tests build one over fakes.
class PlayerApp : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        MediaControl &media;
        Session &session;
        LyricFileChooser &lyricChooser;
        PlaylistFileDialogs &playlistDialogs;
        OptionsServices options;
        UserMessages &messages;
        // Reads a song's tags for its lyrics; none in tests that need no tags.
        SongTagReader readTags = {};
    };

    explicit PlayerApp(const Services &services);
    ~PlayerApp() override;

    Player &player() { return m_player; }
    FmMain &window() { return m_window; }
    PlayerMenus &menus() { return m_menus; }
    Slideshow &slideshow() { return m_slideshow; }
    DesktopLyrics &desktopLyrics() { return m_desktopLyrics; }

    // The start-up after the single-instance check: the window loads the settings and shows,
    // then the songs of the command line (or the saved list) come; the desktop lyrics last.
    void start(const CommandLineSongs &songs);
    // Shutdown asked for by the session (SIGTERM, SIGINT): as closing the window, but a failure
    // is told on stderr only, since nobody may be left to close a message box; a report that
    // an earlier close left open goes, and the player ends.
    void quitQuietly();

private:
    // The shutdown steps before the window closes; they run once. True while the window must
    // stay open under the report of what could not be saved.
    bool shutDown(bool reportInWindow);
    // The slideshow's message that a listed picture is missing or no picture.
    void reportRefusedPicture();

    MediaControl &m_media;
    Session &m_session;
    UserMessages &m_messages;
    Player m_player;
    FmMain m_window;
    Slideshow m_slideshow;
    PlayerMenus m_menus;
    DesktopLyrics m_desktopLyrics;
    bool m_isShutDown = false;
    bool m_isReportOpen = false;
};
