#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include "core/command.h"
#include "dialogs/fmabout.h"
#include "dialogs/fmtmp.h"

class Player;
class QAction;

// The player's two popup menus, built in this one place: the main menu `popmnu`, which
// offers almost every command, and the playlist menu `listmenu`. Every item runs one of the
// player's commands, and a caption's key text is the key table's; the check marks show the
// states of the player and the window at all times, read again whenever one of them reports
// a change. The menus also open the options dialog and the about box, one of each at a time,
// without making them modal.
//
// The items are named as the player's names them (`mnuPlay`, `listDelAll`, separators
// `line1` …), so that the menus can be worked by name.
class PlayerMenus : public QObject
{
    Q_OBJECT

public:
    // The windows the menus open belong to `parent`, the main window, which must outlive
    // this object.
    PlayerMenus(Player &player, const OptionsServices &options, QWidget *parent);
    ~PlayerMenus() override;

    QMenu *popmnu() const { return m_main.get(); }
    QMenu *listmenu() const { return m_list.get(); }
    void popupMainMenu(QPoint globalPosition);
    void popupListMenu(QPoint globalPosition);

    // Shows the options dialog, or brings forward the one that is open.
    void showOptions();
    void showAbout();
    FmTmp *options() const { return m_options; }
    fmAbout *about() const { return m_about; }

    // Sets every check mark from the states; the window calls it when its modes changed.
    void showStates();
    // The shutdown: closes the menus and the windows they opened, the folder chooser first.
    void closeWindows();

private:
    QAction *addItem(QMenu *menu, const char *name, const QString &caption,
                     std::function<void()> action);
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption, Command command,
                        bool checkable = false);
    void addSeparator(QMenu *menu, const char *name);
    QMenu *addSubmenu(QMenu *menu, const char *name, const QString &caption);
    void buildMainMenu();
    void buildListMenu();

    Player &m_player;
    OptionsServices m_optionsServices;
    QWidget *m_parent;
    std::unique_ptr<QMenu> m_main;
    std::unique_ptr<QMenu> m_list;
    // The items with a check mark, and the command whose state it shows.
    std::vector<std::pair<QAction *, Command>> m_checkable;
    QPointer<FmTmp> m_options;
    QPointer<fmAbout> m_about;
};
