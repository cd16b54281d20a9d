#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "core/player.h"
#include "core/windowcommands.h"
#include "persist/listfiles.h"
#include "persist/settingsfile.h"

class LyricFileChooser;
class MediaControl;
class QLabel;
class QListView;

// The main window: it holds the player, shows its state and turns mouse and key events
// into the player's commands.
class FmMain : public QWidget, public WindowCommands
{
    Q_OBJECT

public:
    // `programFolder` holds the player's own files (the saved list among them);
    // `lyricChooser` asks the user for a lyric file.
    FmMain(MediaControl &media, LyricFileChooser &lyricChooser, const QString &programFolder,
           QWidget *parent = nullptr);

    // The start-up after the single-instance check: default state, the saved settings and
    // lists, the window shown, then the command line (or the saved list).
    void Form_Load(const QString &commandText);
    Player &player() { return m_player; }
    // The settings as the window holds them now (the six shared ones among them).
    const SettingsRecord &settings() const { return m_settings; }
    const QStringList &pictureList() const { return ListPic; }
    int shownPicture() const { return m_shownPicture; }

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
    // Reads the picture list and the lyric-folder list into the main window's lists; a
    // list whose file is missing keeps its items.
    void loadLists();
    void showLabel(Player::Label label, const QString &text);
    void restoreSettings();
    void applyLyricStyle();
    void saveAndRelease(bool reportInWindow);
    void reportWriteFailure(const QString &path, const QString &error, bool inWindow);
    QString programFile(const QString &name) const;
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    MediaControl &m_media;
    LyricFileChooser &m_lyricChooser;
    Player m_player;
    QString m_programFolder;
    SettingsRecord m_settings;
    bool m_unloading = false;
    // Distance in twips within which a dragged window snaps to a screen edge.
    int SnapTwips = 0;
    // The slideshow's pictures; m_shownPicture is the one shown last, -1 for none.
    QStringList ListPic;
    int m_shownPicture = -1;
    QTimer TimerPic;

    QListView *ListSong = nullptr;
    QLabel *LInfo = nullptr;
    QLabel *LTime = nullptr;
    QLabel *LTxtMin = nullptr;
    // The lyric line of the full-screen window; hidden in the normal window.
    QLabel *LTxtMax = nullptr;
};
