#pragma once

#include <QString>
#include <QWidget>

#include "core/player.h"
#include "core/windowcommands.h"

class MediaControl;
class QLabel;
class QListView;

// The main window: it holds the player, shows its state and turns mouse and key events
// into the player's commands.
class FmMain : public QWidget, public WindowCommands
{
    Q_OBJECT

public:
    // `programFolder` holds the player's own files (the saved list among them).
    FmMain(MediaControl &media, const QString &programFolder, QWidget *parent = nullptr);

    // The start-up after the single-instance check: default state, the window shown,
    // then the command line (or the saved list).
    void Form_Load(const QString &commandText);
    Player &player() { return m_player; }

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
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void connectPlayer();
    void showLabel(Player::Label label, const QString &text);
    void saveAndRelease(bool reportInWindow);
    QString defaultListPath() const;

    Player m_player;
    QString m_programFolder;
    bool m_unloading = false;

    QListView *ListSong = nullptr;
    QLabel *LInfo = nullptr;
    QLabel *LTime = nullptr;
    QLabel *LTxtMin = nullptr;
    // The lyric line of the full-screen window; hidden in the normal window.
    QLabel *LTxtMax = nullptr;
};
