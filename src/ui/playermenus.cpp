#include "ui/playermenus.h"

#include "core/player.h"

namespace {

void bringForward(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

// The key text a caption shows for `command`: the key table's, with two kept as the menu has
// always named them: full screen shows the key that switches to it, though the item switches
// both ways, and always-on-top shows Ctrl+T, though F12 is its key and Ctrl+T does nothing.
QString menuKeyText(Command command)
{
    switch (command) {
    case Command::ToggleFullScreen:
        return keyText(Command::FullScreen);
    case Command::ToggleOnTop:
        return QStringLiteral("Ctrl+T");
    default:
        return keyText(command);
    }
}

// `label`, then the key of `command` after `gap` spaces.
QString withKey(const char16_t *label, int gap, Command command)
{
    return QString::fromUtf16(label) + QString(gap, u' ') + menuKeyText(command);
}

} // namespace

PlayerMenus::PlayerMenus(Player &player, const OptionsServices &options, QWidget *parent)
    : m_player(player), m_optionsServices(options), m_parent(parent),
      m_main(std::make_unique<QMenu>()), m_list(std::make_unique<QMenu>())
{
    buildMainMenu();
    buildListMenu();
    connect(&player.transport(), &Transport::flagsChanged, this, &PlayerMenus::showStates);
    connect(&player.sound(), &SoundControls::flagsChanged, this, &PlayerMenus::showStates);
    connect(&player.position(), &PlaybackPosition::showsLyricsChanged, this,
            &PlayerMenus::showStates);
    connect(&player.desktopLyrics(), &DesktopLyricStore::changed, this, &PlayerMenus::showStates);
    showStates();
}

PlayerMenus::~PlayerMenus() = default;

QAction *PlayerMenus::addItem(QMenu *menu, const char *name, const QString &caption,
                              std::function<void()> action)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    // A checkable item ticks itself when chosen; the state decides what it shows.
    connect(item, &QAction::triggered, this, [this, action = std::move(action)] {
        action();
        showStates();
    });
    return item;
}

QAction *PlayerMenus::addCommand(QMenu *menu, const char *name, const QString &caption,
                                 Command command, bool checkable)
{
    QAction *item = addItem(menu, name, caption, [this, command] { m_player.run(command); });
    if (checkable) {
        item->setCheckable(true);
        m_checkable.emplace_back(item, command);
    }
    return item;
}

void PlayerMenus::addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

QMenu *PlayerMenus::addSubmenu(QMenu *menu, const char *name, const QString &caption)
{
    QMenu *submenu = menu->addMenu(caption);
    submenu->menuAction()->setObjectName(QLatin1String(name));
    return submenu;
}

// The captions carry the keys of their commands after a few spaces; the menus themselves
// have no shortcuts.
void PlayerMenus::buildMainMenu()
{
    QMenu *menu = m_main.get();
    menu->setObjectName(QStringLiteral("popmnu"));
    menu->setTitle(QStringLiteral("popmnu"));
    addCommand(menu, "mnuAlOntop", withKey(u"总在最前面(&T)", 1, Command::ToggleOnTop),
               Command::ToggleOnTop, true);
    addSeparator(menu, "line1");
    addCommand(menu, "mnuFullScr", withKey(u"全屏显示(&F)", 3, Command::ToggleFullScreen),
               Command::ToggleFullScreen, true);
    addSeparator(menu, "line2");
    addCommand(menu, "mnuPlay", withKey(u"播放(&P)", 7, Command::PlaySong), Command::PlaySong,
               true);
    addCommand(menu, "mnuPause", withKey(u"暂停(&P)", 7, Command::PauseSong), Command::PauseSong,
               true);
    addSeparator(menu, "line35");
    addCommand(menu, "mnuFastForward", withKey(u"快进(&F)", 7, Command::FastForward),
               Command::FastForward);
    addCommand(menu, "mnuFastPre", withKey(u"快退(&E)", 7, Command::FastPre), Command::FastPre);
    addSeparator(menu, "line65");
    addCommand(menu, "mnuPreSong", withKey(u"上一首(&R)", 5, Command::PreviousSong),
               Command::PreviousSong);
    addCommand(menu, "mnuNextSong", withKey(u"下一首(&N)", 5, Command::NextSong),
               Command::NextSong);
    addSeparator(menu, "line10");
    QMenu *mnuSound = addSubmenu(menu, "mnuSound", QStringLiteral("声音(&N)"));
    addCommand(mnuSound, "mnuSoundUp", withKey(u"增加音量(&+)", 3, Command::VolumeUp),
               Command::VolumeUp);
    addCommand(mnuSound, "mnuSoundDown", withKey(u"减小音量(&-)", 3, Command::VolumeDown),
               Command::VolumeDown);
    addCommand(mnuSound, "mnuMute", withKey(u"静音开关(&M)", 4, Command::MuteSong),
               Command::MuteSong, true);
    addSeparator(mnuSound, "line4");
    addCommand(mnuSound, "mnuStereo", QStringLiteral("立体声(&T)"), Command::Stereo, true);
    addCommand(mnuSound, "mnuLeft", QStringLiteral("左声道(&L)"), Command::LeftChannel, true);
    addCommand(mnuSound, "mnuRight", QStringLiteral("右声道(&R)"), Command::RightChannel, true);
    addSeparator(menu, "line9");
    addCommand(menu, "mnushowly", QStringLiteral("显示歌词(&Y)"), Command::ToggleLyrics, true);
    addCommand(menu, "mnuDesktopLyric", withKey(u"桌面歌词(&D)", 3, Command::ToggleDesktopLyrics),
               Command::ToggleDesktopLyrics, true);
    addCommand(menu, "mnuLockDesktopLyric", QStringLiteral("锁定桌面歌词(&K)"),
               Command::LockDesktopLyrics, true);
    addCommand(menu, "mnuSelectLyric", QStringLiteral("选择歌词(&L)"), Command::SelectLyric);
    addSeparator(menu, "line6");
    QMenu *mnuOption = addSubmenu(menu, "mnuOption", QStringLiteral("选项(&O)..."));
    addItem(mnuOption, "mnuOptionSet", QStringLiteral("参数设置(&S)..."),
            [this] { showOptions(); });
    addItem(menu, "mnuAbout", QStringLiteral("关于...(&U)"), [this] { showAbout(); });
    addSeparator(menu, "line8");
    addCommand(menu, "mnuExit", withKey(u"退出(&X)", 8, Command::Quit), Command::Quit);
}

void PlayerMenus::buildListMenu()
{
    QMenu *menu = m_list.get();
    menu->setObjectName(QStringLiteral("listmenu"));
    menu->setTitle(QStringLiteral("ListMenu"));
    addCommand(menu, "listPlay", QStringLiteral("播放音乐文件(&P)"), Command::PlaySong);
    addSeparator(menu, "lin13");
    addCommand(menu, "listDelSelected", QStringLiteral("删除所选音乐文件(&S)"),
               Command::DeleteSelected);
    addCommand(menu, "listDelNotSelected", QStringLiteral("删除未选音乐文件(&U)"),
               Command::DeleteNotSelected);
    addCommand(menu, "listDelAll", QStringLiteral("删除所有音乐文件(&D)"), Command::DeleteAll);
}

void PlayerMenus::popupMainMenu(QPoint globalPosition)
{
    m_main->popup(globalPosition);
}

void PlayerMenus::popupListMenu(QPoint globalPosition)
{
    m_list->popup(globalPosition);
}

void PlayerMenus::showStates()
{
    for (const auto &[item, command] : m_checkable)
        item->setChecked(m_player.isOn(command));
}

void PlayerMenus::showOptions()
{
    // A dialog closed a moment ago may still wait for its deletion.
    if (!m_options || !m_options->isVisible())
        m_options = new FmTmp(m_optionsServices, m_parent);
    bringForward(m_options);
}

void PlayerMenus::showAbout()
{
    if (!m_about || !m_about->isVisible())
        m_about = new fmAbout(m_parent);
    bringForward(m_about);
}

void PlayerMenus::closeWindows()
{
    m_main->close();
    m_list->close();
    if (m_options) {
        if (FmShowDir *chooser = m_options->folderChooser())
            chooser->close();
        m_options->close();
    }
    if (m_about)
        m_about->close();
}
