#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "core/player.h"
#include "core/windowcommands.h"

struct CommandLineSongs;
class LyricFileChooser;
class MediaControl;
class QLabel;
class QListView;
class Session;

// The main window: it holds the player, shows its state and turns mouse and key events
// into the player's commands.
class FmMain : public QWidget, public WindowCommands
{
    Q_OBJECT

public:
    // `session` holds the settings and lists the window shows; `lyricChooser` asks the user
    // for a lyric file.
    FmMain(MediaControl &media, Session &session, LyricFileChooser &lyricChooser,
           QWidget *parent = nullptr);

    // The start-up after the single-instance check: the saved settings and lists, the
    // window shown, then the songs of the command line (or the saved list).
    void Form_Load(const CommandLineSongs &songs);
    Player &player() { return m_player; }

    // Applies the settings that shape the window: snap distance, volume knob, list panel,
    // slideshow interval.
    void SetSetting();
    // The window's height from ShowList: with the playlist panel (exactly 1) or without.
    void ApplyListPanel();

    void FullScr() override;
    void OrgScr() override;
    void SetOntop() override;
    void UnloadMe() override;
    // Shutdown asked for by the session (SIGTERM, SIGINT): as UnloadMe, but a failure is
    // told on stderr only, since nobody may be left to close a message box.
    void unloadQuietly();
    // Shows, raises and activates the window (a second start asked for it).
    void bringForward();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void showLabel(DisplayLabels::Label label, const QString &text);
    void restorePlace();
    void applyLyricStyle();
    void saveAndRelease(bool reportInWindow);
    void reportWriteFailure(const QString &path, const QString &error, bool inWindow);
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    MediaControl &m_media;
    Session &m_session;
    LyricFileChooser &m_lyricChooser;
    Player m_player;
    bool m_unloading = false;
    // Distance in twips within which a dragged window snaps to a screen edge; taken from the
    // settings at start-up only.
    int SnapTwips = 0;
    // The slideshow's tick, every PicShowSeconds.
    QTimer TimerPic;

    QListView *ListSong = nullptr;
    QLabel *LInfo = nullptr;
    QLabel *LTime = nullptr;
    QLabel *LTxtMin = nullptr;
    // The lyric line of the full-screen window; hidden in the normal window.
    QLabel *LTxtMax = nullptr;
};
