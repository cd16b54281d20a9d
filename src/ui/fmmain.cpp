#include "ui/fmmain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "core/commandline.h"
#include "core/playlistadditions.h"
#include "core/session.h"
#include "core/usermessages.h"
#include "core/windowplacement.h"
#include "dialogs/playlistfiledialogs.h"
#include "persist/playlistfile.h"
#include "skin/skinimages.h"
#include "ui/facecommands.h"
#include "ui/fullscreenpanel.h"
#include "ui/normalpanel.h"
#include "ui/playermenus.h"
#include "ui/playlistbox.h"
#include "ui/skinbutton.h"
#include "ui/transitionpainter.h"
#include "ui/windowmover.h"

namespace {

using Skin::Control;

// The strip at the top of the window by which it is grabbed, in pixels.
constexpr int TitleStripHeight = Skin::rect(Control::LDrag).bottom() + 1;

} // namespace

FmMain::FmMain(Player &player, Session &session, LyricFileChooser &lyricChooser,
               PlaylistFileDialogs &playlistDialogs, UserMessages &messages, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_player(player), m_session(session),
      m_lyricChooser(lyricChooser), m_playlistDialogs(playlistDialogs), m_messages(messages)
{
    setWindowTitle(QStringLiteral("岚铃播放器"));
    // Only the pictures for this screen's ratio, so that the first frame does not wait for
    // the others; where a screen of another ratio is attached the start-up gives the whole
    // icon after that frame.
    setWindowIcon(applicationIconAt(devicePixelRatioF()));
    setAttribute(Qt::WA_NoSystemBackground);
    m_normal = new NormalPanel(m_player, session, this);
    m_fullScreen = new FullScreenPanel(session, m_player.labels(), this);
    m_wndProc = new MainWndProc(*m_normal->label(Control::LTitle), this);
    m_mover = new WindowMover(*this, this);
    setFixedSize(Skin::WindowWidth, Skin::HeightWithList);
    connectFaceCommands(*this);
    m_player.attachWindow(this);
}

FmMain::~FmMain()
{
    m_player.attachWindow(nullptr);
}

void FmMain::run(Command command)
{
    switch (command) {
    case Command::FullScreen:
        return FullScr();
    case Command::NormalScreen:
        return OrgScr();
    case Command::ToggleFullScreen:
        return m_isFullScreen ? OrgScr() : FullScr();
    case Command::ToggleOnTop:
        return SetOntop();
    case Command::Minimize:
        return showMinimized();
    case Command::Quit:
        return UnloadMe();
    case Command::AddSongs:
        return AddSongFiles();
    case Command::SaveList:
        return saveList();
    case Command::SelectLyric:
        return OpenLyric();
    case Command::ToggleListPanel:
        return setShowList(showList() != 0 ? 0 : 1);
    case Command::CloseListPanel:
        return setShowList(0);
    default:
        return;
    }
}

void FmMain::Form_Load(const CommandLineSongs &songs)
{
    // A settings file with a wrong first line, or one that cannot be read, changes nothing,
    // not even the place.
    const ReadResult<SettingsLoad> settings = m_session.load();
    if (settings.status != ReadStatus::Unreadable && settings.value != SettingsLoad::WrongMarker) {
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

std::optional<QByteArray> FmMain::scaleFactorToFit()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    const double ratio = screen->devicePixelRatio();
    const QSize available = (QSizeF(screen->availableGeometry().size()) * ratio).toSize();
    // The skin's pictures come at single and double size.
    const double fitting = fittingPixelRatio({Skin::WindowWidth, Skin::HeightWithList},
                                             available, ratio, {1.0, 2.0});
    if (qFuzzyCompare(fitting, ratio))
        return std::nullopt;
    bool isNumber = false;
    double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&isNumber);
    if (!isNumber || factor <= 0)
        factor = 1;
    return QByteArray::number(factor * fitting / ratio);
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
    keepWhole();
    focusFace();
}

// The window at its saved place, or grown by the list, may stand off the screen (a smaller
// screen, a panel, the list reaching below the bottom edge): it moves until it lies whole on
// the free area of the screen its title strip is on.
void FmMain::keepWhole()
{
    if (!WindowMover::canPlaceItself())
        return;
    const QScreen *on = QGuiApplication::screenAt(geometry().topLeft() + QPoint(width() / 2, 0));
    if (!on)
        on = screen();
    const QPoint whole = placeWhole(geometry(), on->availableGeometry());
    if (whole != geometry().topLeft())
        m_mover->placeAt(whole);
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
    emit fullScreenChanged(true);
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
    emit fullScreenChanged(false);
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
        m_messages.tell(UserMessages::Tone::Warning, writeFailureText(target, written.error));
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

std::optional<QPointF> FmMain::placeToKeep() const
{
    if (!WindowMover::canPlaceItself())
        return std::nullopt;
    return m_mover->inTwips(normalGeometry().topLeft());
}

void FmMain::closeEvent(QCloseEvent *event)
{
    if (m_shutDown && m_shutDown()) {
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
