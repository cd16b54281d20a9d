#pragma once

#include <functional>
#include <optional>

#include <QPointer>
#include <QRect>
#include <QWidget>

#include "core/player.h"
#include "core/windowcommands.h"
#include "ui/mainwndproc.h"

struct CommandLineSongs;
class FullScreenPanel;
class LyricFileChooser;
class NormalPanel;
class PlayerMenus;
class PlaylistFileDialogs;
class Session;
class UserMessages;
class WindowMover;

// The main window: a borderless skin, 274 pixels wide and 116 or 464 high (without or with
// the playlist panel), or the full-screen slideshow window. It shows the player's state through
// its two faces (`PicNormal` and `PicBg`), turns their mouse and key events into the player's
// commands, and carries out the commands that belong to the window.
//
// Its place is that of its own top-left corner, never a frame's that a window manager may
// add (see WindowMover), so it comes back exactly where it was left.
class FmMain : public QWidget, public WindowCommands
{
    Q_OBJECT

public:
    // `session` holds the settings and lists the window shows; `lyricChooser` and
    // `playlistDialogs` ask the user for files; `messages` tells a list that could not be
    // saved. The window attaches itself to `player` for the window's commands.
    FmMain(Player &player, Session &session, LyricFileChooser &lyricChooser,
           PlaylistFileDialogs &playlistDialogs, UserMessages &messages, QWidget *parent = nullptr);
    ~FmMain() override;

    // The start-up after the single-instance check: the saved settings and lists, the skin
    // laid out, the window shown, the songs of the command line (or the saved list), and
    // last the activation watcher.
    void Form_Load(const CommandLineSongs &songs);
    Player &player() { return m_player; }
    NormalPanel &PicNormal() const { return *m_normal; }
    FullScreenPanel &PicBg() const { return *m_fullScreen; }

    // The QT_SCALE_FACTOR to start the application again with when the window with its list
    // would not lie whole on the primary screen's free area at the scale the desktop asks
    // for: the one that gives the largest of the skin's scales at which it does (see
    // fittingPixelRatio). Nothing when the window fits as it is. Needs the application.
    static std::optional<QByteArray> scaleFactorToFit();

    // The title bar's icon, which has no picture until then.
    void LayOutSkin();
    // Applies the settings that shape the window: snap distance, volume knob, list panel,
    // full screen at start.
    void SetSetting();
    // The window's height from ShowList: with the playlist panel (exactly 1) or without.
    void ApplyListPanel();
    // ShowList, the list panel's setting: 1 shown, 0 hidden, other values count as shown
    // for the list button only. Setting it applies it.
    int showList() const;
    void setShowList(int value);

    void run(Command command) override;
    bool isFullScreenShown() const override { return m_isFullScreen; }
    bool isOnTop() const override { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
    void FullScr();
    void OrgScr();
    void SetOntop();
    // Closes the window, which ends the player.
    void UnloadMe();
    // Runs whenever the window is asked to close, before it does: the shutdown. While it
    // returns true the window stays open (a report waits to be read).
    void setShutDown(std::function<bool()> shutDown) { m_shutDown = std::move(shutDown); }
    // The window's place outside full screen, in twips, to keep for the next start; none where
    // a window cannot place itself, and so cannot know its place either.
    std::optional<QPointF> placeToKeep() const;
    // Shows, raises and activates the window (a second start asked for it).
    void bringForward();

    WindowMover &mover() const { return *m_mover; }
    // Asks for songs and playlists with the open dialog and adds them.
    void AddSongFiles();
    // Writes the list to a playlist file the user names.
    void saveList();
    // Lets the user add a lyric file of their choice to the current lyrics.
    void OpenLyric();

    // Every click that opens a menu comes here: the main menu at `globalPosition`, with the
    // right-button option from the panels and drag strips; the playlist menu from the list.
    void showMainMenu(QPoint globalPosition, bool rightButton);
    void showListMenu(QPoint globalPosition);
    // The popup menus open from those clicks and show the window's modes; the shutdown
    // closes the windows they opened. `menus` must outlive the window or be deleted first.
    void setMenus(PlayerMenus &menus);

signals:
    void mainMenuRequested(QPoint globalPosition, bool rightButton);
    void listMenuRequested(QPoint globalPosition);
    // Full screen or always-on-top changed (the menus' check marks).
    void windowModesChanged();
    // The window went to full screen or back: the slideshow runs only in full screen.
    void fullScreenChanged(bool isFullScreen);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Resize();
    void focusFace();
    // Moves the window, outside full screen, so that it lies whole on its screen.
    void keepWhole();
    // The window's place and size outside full screen.
    QRect normalGeometry() const { return m_isFullScreen ? m_normalGeometry : geometry(); }

    Player &m_player;
    Session &m_session;
    LyricFileChooser &m_lyricChooser;
    PlaylistFileDialogs &m_playlistDialogs;
    UserMessages &m_messages;
    NormalPanel *m_normal = nullptr;
    FullScreenPanel *m_fullScreen = nullptr;
    MainWndProc *m_wndProc = nullptr;
    WindowMover *m_mover = nullptr;
    std::function<bool()> m_shutDown;
    bool m_isFullScreen = false;
    // Where the window was before it went full screen.
    QRect m_normalGeometry;
};
