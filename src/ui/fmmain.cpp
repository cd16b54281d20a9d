#include "ui/fmmain.h"

#include <cstdio>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QScreen>
#include <QTime>
#include <QWindow>

#include "core/commandline.h"
#include "core/mediacontrol.h"
#include "core/playlistadditions.h"
#include "core/session.h"
#include "dialogs/messagebox.h"
#include "dialogs/playermenus.h"
#include "dialogs/playlistfiledialogs.h"
#include "persist/playlistfile.h"
#include "skin/skinimages.h"
#include "slideshow/slideshow.h"
#include "ui/facecommands.h"
#include "ui/fullscreenpanel.h"
#include "ui/normalpanel.h"
#include "ui/playlistbox.h"
#include "ui/skinbutton.h"
#include "ui/transitionpainter.h"
#include "ui/windowmover.h"

namespace {

using Skin::Control;

// The strip at the top of the window by which it is grabbed, in pixels.
constexpr int TitleStripHeight = Skin::rect(Control::LDrag).bottom() + 1;

double secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

} // namespace

FmMain::FmMain(MediaControl &media, Session &session, LyricFileChooser &lyricChooser,
               PlaylistFileDialogs &playlistDialogs, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_media(media), m_session(session),
      m_lyricChooser(lyricChooser), m_playlistDialogs(playlistDialogs),
      m_player(media, session, *this)
{
    setWindowTitle(QStringLiteral("岚铃播放器"));
    setWindowIcon(applicationIcon());
    setAttribute(Qt::WA_NoSystemBackground);
    m_normal = new NormalPanel(m_player, session, this);
    m_fullScreen = new FullScreenPanel(session, m_player.labels(), this);
    m_slideshow = new Slideshow(session, *m_fullScreen->picture(), secondsSinceMidnight,
                                quint32(QDateTime::currentMSecsSinceEpoch()), this);
    connect(m_fullScreen->picture(), &TransitionPainter::transitionEnded, m_slideshow,
            &Slideshow::transitionEnded);
    connect(m_slideshow, &Slideshow::pictureRefused, this, &FmMain::reportRefusedPicture);
    m_wndProc = new MainWndProc(*m_normal->label(Control::LTitle), this);
    m_mover = new WindowMover(*this, this);
    setFixedSize(Skin::WindowWidth, Skin::HeightWithList);
    connectFaceCommands(*this);
}

FmMain::~FmMain() = default;

void FmMain::Form_Load(const CommandLineSongs &songs)
{
    // A settings file with a wrong first line, or one that cannot be read, changes nothing,
    // not even the place.
    const SettingsLoad settings = m_session.load();
    if (settings != SettingsLoad::WrongMarker && settings != SettingsLoad::Unreadable) {
        const SettingsRecord &saved = m_session.settings();
        m_mover->restorePlace({saved.windowLeftTwips, saved.windowTopTwips}, TitleStripHeight);
    }
    LayOutSkin();
    SetSetting();
    show();
    m_player.start(songs);
    focusFace();
    m_wndProc->install(*this);
}

void FmMain::LayOutSkin()
{
    m_normal->button(Control::ImgIcon)
        ->setPictures(Skin::Picture::WindowIcon, Skin::Picture::WindowIcon);
}

void FmMain::SetSetting()
{
    const SharedSettings &shared = m_session.settings().shared;
    m_mover->setSnapPixels(shared.SnapPixels);
    ApplyListPanel();
    if (shared.FullScreenAtStart == 1)
        FullScr();
}

void FmMain::ApplyListPanel()
{
    const bool shown = m_session.settings().shared.ShowList == 1;
    const int height = shown ? Skin::HeightWithList : Skin::HeightWithoutList;
    // The list is hidden with its panel, so that it cannot keep the keys.
    m_normal->ListSong()->setVisible(shown);
    if (m_isFullScreen) {
        m_normalGeometry.setHeight(height);
        return;
    }
    setFixedSize(Skin::WindowWidth, height);
    focusFace();
}

int FmMain::showList() const
{
    return m_session.settings().shared.ShowList;
}

void FmMain::setShowList(int value)
{
    SettingsRecord settings = m_session.settings();
    settings.shared.ShowList = value;
    m_session.setSettings(settings);
    ApplyListPanel();
}

// The keys go to the list when it is shown, else to the face on show.
void FmMain::focusFace()
{
    if (m_isFullScreen)
        m_fullScreen->setFocus();
    else if (m_normal->ListSong()->isVisible())
        m_normal->ListSong()->setFocus();
    else
        m_normal->setFocus();
}

void FmMain::FullScr()
{
    const bool wasFullScreen = m_isFullScreen;
    if (!wasFullScreen)
        m_normalGeometry = geometry();
    m_isFullScreen = true;
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Without a window manager nobody acts on the full-screen state: the window covers its
    // screen itself.
    setGeometry(screen()->geometry());
    showFullScreen();
    Form_Resize();
    m_fullScreen->show();
    m_fullScreen->raise();
    m_slideshow->setFullScreen(true);
    m_normal->hide();
    focusFace();
    if (!wasFullScreen)
        emit windowModesChanged();
}

void FmMain::OrgScr()
{
    const bool wasFullScreen = m_isFullScreen;
    m_isFullScreen = false;
    showNormal();
    if (wasFullScreen) {
        setFixedSize(m_normalGeometry.size());
        setGeometry(m_normalGeometry);
    }
    m_slideshow->setFullScreen(false);
    m_fullScreen->hide();
    m_normal->show();
    focusFace();
    if (wasFullScreen)
        emit windowModesChanged();
}

void FmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FmMain::Form_Resize()
{
    // Qt gives the screen's size in the window's own pixels already.
    if (m_isFullScreen)
        m_fullScreen->layOut(screen()->geometry().size());
}

void FmMain::SetOntop()
{
    const Qt::WindowFlags flags = windowFlags() ^ Qt::WindowStaysOnTopHint;
    // Told to the window system as it is, without recreating (and so hiding) the window.
    if (QWindow *handle = windowHandle()) {
        overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
    if (isOnTop())
        raise();
    emit windowModesChanged();
}

void FmMain::AddSongFiles()
{
    addChosenSongs(m_player.transport().ListSong(), m_playlistDialogs.chooseSongFiles());
}

void FmMain::saveList()
{
    const QString target = m_playlistDialogs.choosePlaylistTarget();
    if (target.isEmpty())
        return;
    const WriteResult written = SavePlaylist(target, m_player.transport().ListSong().songs());
    if (!written.ok)
        m_playlistDialogs.reportSaveFailure(target, written.error);
}

void FmMain::OpenLyric()
{
    m_player.transport().OpenLyric(m_lyricChooser);
}

void FmMain::showMainMenu(QPoint globalPosition, bool rightButton)
{
    emit mainMenuRequested(globalPosition, rightButton);
}

void FmMain::showListMenu(QPoint globalPosition)
{
    emit listMenuRequested(globalPosition);
}

void FmMain::setMenus(PlayerMenus &menus)
{
    m_menus = &menus;
    connect(this, &FmMain::mainMenuRequested, &menus, &PlayerMenus::popupMainMenu);
    connect(this, &FmMain::listMenuRequested, &menus, &PlayerMenus::popupListMenu);
    connect(this, &FmMain::windowModesChanged, &menus, &PlayerMenus::showStates);
}

void FmMain::bringForward()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void FmMain::closeEvent(QCloseEvent *event)
{
    saveAndRelease(true);
    // The window stays under the report of what could not be saved until that is closed.
    if (m_shutdownReport && m_shutdownReport->isVisible()) {
        event->ignore();
        return;
    }
    event->accept();
    // Closing the main window ends the player, whether or not Qt still counts it as a
    // visible window at this moment. Before the event loop runs this does nothing, and
    // main() ends the program itself.
    QCoreApplication::quit();
}

void FmMain::UnloadMe()
{
    close();
}

void FmMain::unloadQuietly()
{
    saveAndRelease(false);
    // A signal waits for nobody to read the report: what it says is on stderr.
    delete m_shutdownReport;
    close();
}

// The shutdown steps before the window closes; they run once, whichever way the close
// was asked for. A file that cannot be written is reported and the rest goes on. No
// pending event runs in between: one could start again what the shutdown has stopped.
// Failures go to stderr first; in the window they are one report, shown without waiting,
// whose closing closes the window.
void FmMain::saveAndRelease(bool reportInWindow)
{
    if (m_unloading)
        return;
    m_unloading = true;
    m_session.endRun();
    m_slideshow->shutDown();
    m_player.stop();
    SettingsRecord settings = m_session.settings();
    // Where a window cannot place itself, it cannot know its place either: the saved one
    // stays.
    if (WindowMover::canPlaceItself()) {
        const QPointF place = m_mover->inTwips(normalGeometry().topLeft());
        settings.windowLeftTwips = place.x();
        settings.windowTopTwips = place.y();
    }
    settings.volume = m_media.volume();
    m_session.setSettings(settings);
    QStringList failures;
    for (const Session::WriteFailure &failure :
         m_session.save(m_player.transport().ListSong().songs())) {
        std::fprintf(stderr, "zorvan: cannot write %s: %s\n", qPrintable(failure.path),
                     qPrintable(failure.error));
        failures.append(writeFailureText(failure.path, failure.error));
    }
    if (m_menus)
        m_menus->closeWindows();
    if (reportInWindow && !failures.isEmpty()) {
        m_shutdownReport = openMessageBox(QMessageBox::Warning, failures.join(u'\n'), this);
        connect(m_shutdownReport, &QMessageBox::finished, this, &QWidget::close);
    }
}

// Shown without waiting for it, and only one at a time: the slideshow shows nothing until
// the message is closed.
void FmMain::reportRefusedPicture()
{
    const QMessageBox *box =
        openMessageBox(QMessageBox::NoIcon, QStringLiteral("图片文件不正确！"), this);
    connect(box, &QMessageBox::finished, m_slideshow, &Slideshow::reportClosed);
}
