#pragma once

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/playerapp.h"
#include "associations/regist.h"
#include "core/commandline.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/memoryregistry.h"
#include "fakes/recordedmessages.h"
#include "fakes/scriptedchooser.h"
#include "fakes/scriptedoptionschoosers.h"
#include "fakes/scriptedplaylistdialogs.h"
#include "fakes/settle.h"
#include "persist/settingsfile.h"
#include "support/files.h"
#include "support/qtprinters.h"
#include "ui/fmmain.h"
#include "ui/normalpanel.h"
#include "ui/playermenus.h"

// The player's program on the offscreen platform, with the fake media control, the registry in
// memory, scripted dialogs and recorded messages, its data in a folder of its own. A test writes
// the files it wants, then starts the window with load(); its menus and options dialog are
// reached by the names of their items and controls.
class FmMainTest : public testing::Test
{
protected:
    ~FmMainTest() override
    {
        // The window is gone before the test's files and fakes.
        window.hide();
    }

    // Writes the saved list and settings, then runs the start-up.
    void load(const QStringList &songs = {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"},
              const SettingsRecord &settings = SettingsRecord())
    {
        writeFile(session.path(Session::File::Playlist),
                  songs.isEmpty() ? QByteArray() : (songs.join("\r\n") + "\r\n").toUtf8());
        SaveSettings(session.path(Session::File::Settings), settings);
        app.start({});
        settle();
    }
    void settle() { ::settle(transport()); }
    Transport &transport() { return window.player().transport(); }
    NormalPanel &face() { return window.PicNormal(); }
    template <typename T> T *child(const char *name)
    {
        return window.findChild<T *>(QLatin1String(name));
    }
    // An item of the main menu or the list menu.
    QAction *item(const char *name) const
    {
        QAction *found = menus.popmnu()->findChild<QAction *>(QLatin1String(name));
        return found ? found : menus.listmenu()->findChild<QAction *>(QLatin1String(name));
    }
    FmTmp *openOptions() { return item("mnuOptionSet")->trigger(), menus.options(); }
    // A control of the open options dialog, and a click on it.
    template <typename T = QWidget> T *control(const char *name) const
    {
        return menus.options()->findChild<T *>(QLatin1String(name));
    }
    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    // Deletes the dialogs closed meanwhile.
    void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir dir;
    Session session{dir.path()};
    FakeMediaControl media;
    ScriptedChooser chooser;
    ScriptedPlaylistDialogs dialogs;
    MemoryRegistry registry;
    RecordedMessages messages;
    Regist regist{registry, messages};
    ScriptedOptionsChoosers choosers;
    const OptionsServices options{session, regist, "/opt/zorvan/zorvan", choosers, messages};
    PlayerApp app{{media, session, chooser, dialogs, options, messages}};
    FmMain &window = app.window();
    PlayerMenus &menus = app.menus();
};
