#pragma once

#include <array>
#include <functional>

#include <QDialog>
#include <QPointer>

#include "associations/association.h"
#include "core/desktoplyricsettings.h"
#include "dialogs/fmshowdir.h"
#include "dialogs/twipslayout.h"
#include "persist/settingsfile.h"

class OptionsChoosers;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class Regist;
class Session;
class UserMessages;

// What the options dialog works on besides its own controls.
struct OptionsServices
{
    Session &session;
    // The registry of the file associations.
    Regist &regist;
    // The executable the player's file class opens files with.
    QString programPath;
    OptionsChoosers &choosers;
    // Where the dialog tells the user of a picture it cannot show or a file it cannot write.
    UserMessages &messages;
    // The desktop lyrics' look: read as the dialog opens, handed back edited on "确定" with the
    // rest of the record as it is then. Given both or neither; without them the dialog has no
    // desktop lyric page.
    std::function<DesktopLyricSettings()> desktopLyrics = {};
    std::function<void(const DesktopLyricSettings &)> setDesktopLyrics = {};
};

// The options dialog "参数设置": every user setting on five tab pages (display, lyric folders,
// pictures, file associations, desktop lyrics). It is made anew each time it opens and filled
// then from the session, the list files, the registry and the desktop lyrics' look; its edits
// stay in its controls until "确定" writes and applies them in this order: the picture list and
// the lyric folders (written, then read back into the session), the file associations, the
// desktop lyrics' look, the settings (written with the window's place and the volume as they
// are now, then applied: the new slideshow interval and lyric style show at once, the snapping
// distance only from the next start).
// "取消" and the close box change nothing. Not modal; it deletes itself when closed.
//
// A file that cannot be written on "确定" is reported and the dialog stays open with the
// edits: what was written before the failure stays applied, the rest, the settings among
// it, waits for the next "确定".
class FmTmp : public QDialog
{
    Q_OBJECT

public:
    explicit FmTmp(const OptionsServices &services, QWidget *parent = nullptr);

    // The folder chooser of "添加文件夹" while it is open, else nullptr.
    FmShowDir *folderChooser() const { return m_folderChooser; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createPage(int index, const QString &tab, const QString &frame, int height);
    void createDisplayPage();
    void createLyricFolderPage();
    void createPicturePage();
    void createAssociationPage();
    void createDesktopLyricPage();
    // A number box at its place in twips, named.
    QSpinBox *createNumberBox(QWidget *parent, const char *name, int minimum, int maximum,
                              QRect twips);
    void fill();
    void showFontSample();
    void chooseFont();
    void chooseColour();
    void showDesktopLyricSample();
    void chooseDesktopLyricFont();
    void chooseDesktopLyricColour(quint32 DesktopLyricSettings::*colour);
    void addPictures();
    void removePictures();
    void previewPicture(QListWidgetItem *item);
    void addLyricFolder();
    void removeLyricFolder();
    void setAllTicks(bool ticked);
    void setSnapping(bool on);
    AssociationTicks ticks() const;
    // Applies everything; false when a file could not be written (reported).
    bool confirm();

    OptionsServices m_services;
    TwipsLayout m_twips;
    QTabWidget *TabStrip1 = nullptr;
    std::array<QWidget *, 5> FrmSet{};
    QWidget *PicFont = nullptr;
    QLabel *LabelFont = nullptr;
    QCheckBox *CheckFullScr = nullptr;
    QCheckBox *Check1 = nullptr;
    QSpinBox *TextOffScrPix = nullptr;
    QButtonGroup *m_trayModes = nullptr;
    QListWidget *ListLyricDir = nullptr;
    QListWidget *ListPicFile = nullptr;
    QLabel *ImgView = nullptr;
    QSpinBox *TextPicShowPerTime = nullptr;
    QListWidget *List1 = nullptr;
    QLabel *LabelDeskLyric = nullptr;
    QPointer<FmShowDir> m_folderChooser;
    // The full-screen lyric style as edited; colours as the settings keep them.
    LyricFontSetting m_lyricFont;
    qint32 m_lyricColour = 0;
    qint32 m_panelColour = 0;
    // The desktop lyrics' look as edited, with a button for each of its colours.
    DesktopLyricSettings m_desktopLyrics;
    std::array<std::pair<QPushButton *, quint32 DesktopLyricSettings::*>, 3> m_desktopColours{};
    // The snapping distance the number box goes back to when Check1 is ticked again.
    int m_snapPixels = SharedSettings().SnapPixels;
};
