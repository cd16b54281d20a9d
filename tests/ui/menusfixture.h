#pragma once

#include <QAction>
#include <QMenu>

#include "dialogs/playermenus.h"
#include "fakes/memoryregistry.h"
#include "fakes/scriptedoptionschoosers.h"
#include "fmmainfixture.h"
#include "persist/regist.h"
#include "persist/registrymessages.h"

// The main window with its menus, the registry in memory and the options dialog's choosers
// scripted.
class MenusTest : public FmMainTest
{
protected:
    struct NoMessages : RegistryMessages
    {
        void show(const QString &text) override { ADD_FAILURE() << text.toStdString(); }
    };

    MenusTest() { window.setMenus(menus); }

    QAction *item(const char *name) const
    {
        QAction *found = menus.popmnu()->findChild<QAction *>(QLatin1String(name));
        return found ? found : menus.listmenu()->findChild<QAction *>(QLatin1String(name));
    }
    // Opens the options dialog from the menu; the dialog's control of that name.
    FmTmp *openOptions()
    {
        item("mnuOptionSet")->trigger();
        return menus.options();
    }
    template <typename T> T *control(const char *name) const
    {
        return menus.options()->findChild<T *>(QLatin1String(name));
    }
    // Lets closed windows go.
    static void deleteClosed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    MemoryRegistry registry;
    NoMessages messages;
    Regist regist{registry, messages};
    ScriptedOptionsChoosers choosers;
    PlayerMenus menus{
        window.player(), window, {session, regist, "/opt/zorvan/zorvan", choosers}, &window};
};
