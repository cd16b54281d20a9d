#include "ui/playermenus.h"

#include "core/player.h"
#include "ui/menuwindow.h"

namespace {

void bringForward(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

PlayerMenus::PlayerMenus(Player &player, MenuWindow &window, const OptionsServices &options,
                         QWidget *parent)
    : m_player(player), m_window(window), m_optionsServices(options), m_parent(parent),
      m_main(std::make_unique<QMenu>()), m_list(std::make_unique<QMenu>())
{
    buildMainMenu();
    buildListMenu();
    connect(&player.transport(), &Transport::flagsChanged, this, &PlayerMenus::showStates);
    connect(&player.sound(), &SoundControls::flagsChanged, this, &PlayerMenus::showStates);
    connect(&player.position(), &PlaybackPosition::showsLyricsChanged, this,
            &PlayerMenus::showStates);
    showStates();
}

PlayerMenus::~PlayerMenus() = default;

QAction *PlayerMenus::addItem(QMenu *menu, const char *name, const QString &caption,
                              std::function<void()> command, bool checkable)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setCheckable(checkable);
    // A checkable item ticks itself when chosen; the state decides what it shows.
    connect(item, &QAction::triggered, this, [this, command = std::move(command)] {
        command();
        showStates();
    });
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

void PlayerMenus::buildMainMenu()
{
    QMenu *menu = m_main.get();
    menu->setObjectName(QStringLiteral("popmnu"));
    menu->setTitle(QStringLiteral("popmnu"));
    MenuWindow *window = &m_window;
    Transport *transport = &m_player.transport();
    PlaybackPosition *position = &m_player.position();
    SoundControls *sound = &m_player.sound();
    // The captions carry the keys of the same commands after a fixed number of spaces; the
    // menus themselves have no shortcuts.
    mnuAlOntop = addItem(
        menu, "mnuAlOntop", QStringLiteral("总在最前面(&T) Ctrl+T"),
        [window] { window->SetOntop(); }, true);
    addSeparator(menu, "line1");
    mnuFullScr = addItem(
        menu, "mnuFullScr", QStringLiteral("全屏显示(&F)   Alt+Enter"),
        [window] { window->isFullScreenShown() ? window->OrgScr() : window->FullScr(); }, true);
    addSeparator(menu, "line2");
    mnuPlay = addItem(
        menu, "mnuPlay", QStringLiteral("播放(&P)       P"), [transport] { transport->PlaySong(); },
        true);
    mnuPause = addItem(
        menu, "mnuPause", QStringLiteral("暂停(&P)       Enter"),
        [transport] { transport->PauseSong(); }, true);
    addSeparator(menu, "line35");
    addItem(menu, "mnuFastForward", QStringLiteral("快进(&F)       →"),
            [position] { position->FastForward(); });
    addItem(menu, "mnuFastPre", QStringLiteral("快退(&E)       ←"),
            [position] { position->FastPre(); });
    addSeparator(menu, "line65");
    addItem(menu, "mnuPreSong", QStringLiteral("上一首(&R)     -"),
            [transport] { transport->PreviousSong(); });
    addItem(menu, "mnuNextSong", QStringLiteral("下一首(&N)     +"),
            [transport] { transport->NextSong(); });
    addSeparator(menu, "line10");
    QMenu *mnuSound = addSubmenu(menu, "mnuSound", QStringLiteral("声音(&N)"));
    addItem(mnuSound, "mnuSoundUp", QStringLiteral("增加音量(&+)   ↑"),
            [sound] { sound->VolumeUp(); });
    addItem(mnuSound, "mnuSoundDown", QStringLiteral("减小音量(&-)   ↓"),
            [sound] { sound->VolumeDown(); });
    mnuMute = addItem(
        mnuSound, "mnuMute", QStringLiteral("静音开关(&M)    M"), [sound] { sound->MuteSong(); },
        true);
    addSeparator(mnuSound, "line4");
    mnuStereo = addItem(
        mnuSound, "mnuStereo", QStringLiteral("立体声(&T)"), [sound] { sound->SetBanlance(1); },
        true);
    mnuLeft = addItem(
        mnuSound, "mnuLeft", QStringLiteral("左声道(&L)"), [sound] { sound->SetBanlance(0); },
        true);
    mnuRight = addItem(
        mnuSound, "mnuRight", QStringLiteral("右声道(&R)"), [sound] { sound->SetBanlance(2); },
        true);
    addSeparator(menu, "line9");
    mnushowly = addItem(
        menu, "mnushowly", QStringLiteral("显示歌词(&Y)"),
        [position] { position->setShowsLyrics(!position->showsLyrics()); }, true);
    addItem(menu, "mnuSelectLyric", QStringLiteral("选择歌词(&L)"),
            [window] { window->OpenLyric(); });
    addSeparator(menu, "line6");
    QMenu *mnuOption = addSubmenu(menu, "mnuOption", QStringLiteral("选项(&O)..."));
    addItem(mnuOption, "mnuOptionSet", QStringLiteral("参数设置(&S)..."),
            [this] { showOptions(); });
    addItem(menu, "mnuAbout", QStringLiteral("关于...(&U)"), [this] { showAbout(); });
    addSeparator(menu, "line8");
    addItem(menu, "mnuExit", QStringLiteral("退出(&X)        Alt+F4"),
            [window] { window->UnloadMe(); });
}

void PlayerMenus::buildListMenu()
{
    QMenu *menu = m_list.get();
    menu->setObjectName(QStringLiteral("listmenu"));
    menu->setTitle(QStringLiteral("ListMenu"));
    Transport *transport = &m_player.transport();
    addItem(menu, "listPlay", QStringLiteral("播放音乐文件(&P)"),
            [transport] { transport->PlaySong(); });
    addSeparator(menu, "lin13");
    addItem(menu, "listDelSelected", QStringLiteral("删除所选音乐文件(&S)"),
            [transport] { transport->DelSelectedSong(); });
    // Nothing else changes: the song that plays goes on, and no file is written.
    addItem(menu, "listDelNotSelected", QStringLiteral("删除未选音乐文件(&U)"),
            [transport] { transport->ListSong().removeNotHighlighted(); });
    addItem(menu, "listDelAll", QStringLiteral("删除所有音乐文件(&D)"),
            [transport] { transport->ListSong().clear(); });
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
    const Transport &transport = m_player.transport();
    const SoundControls &sound = m_player.sound();
    const SoundControls::BalancePreset preset = sound.balancePreset();
    mnuAlOntop->setChecked(m_window.isOnTop());
    mnuFullScr->setChecked(m_window.isFullScreenShown());
    mnuPlay->setChecked(transport.PlayingFlag() && !transport.PausedFlag());
    mnuPause->setChecked(transport.PausedFlag());
    mnuMute->setChecked(sound.MutedFlag());
    mnuStereo->setChecked(preset == SoundControls::BalancePreset::Stereo);
    mnuLeft->setChecked(preset == SoundControls::BalancePreset::Left);
    mnuRight->setChecked(preset == SoundControls::BalancePreset::Right);
    mnushowly->setChecked(m_player.position().showsLyrics());
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
