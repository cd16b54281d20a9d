#include <algorithm>
#include <optional>
#include <unistd.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QScreen>
#include <QStandardPaths>
#include <QTranslator>

#include "app/playerapp.h"
#include "associations/mimeregistry.h"
#include "associations/regist.h"
#include "core/commandline.h"
#include "core/session.h"
#include "core/workqueue.h"
#include "dialogs/qtlyricfilechooser.h"
#include "dialogs/qtoptionschoosers.h"
#include "dialogs/qtplaylistfiledialogs.h"
#include "platform/gstmediacontrol.h"
#include "platform/mprisservice.h"
#include "platform/runtimefolder.h"
#include "platform/singleinstance.h"
#include "platform/taglyrics.h"
#include "platform/terminationsignals.h"
#include "skin/skinimages.h"
#include "ui/firstframe.h"
#include "ui/messagebox.h"
#include "ui/trayicon.h"

namespace {

Q_LOGGING_CATEGORY(lcStartup, "zorvan.startup")

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char **argv)
{
    // First of all, so that a signal at any moment of the start-up is kept for the loop.
    if (!TerminationSignals::install())
        qCWarning(lcStartup, "SIGTERM and SIGINT will end the player without saving");
    // Test hook: the signal-driven shutdown blocks for good after its orderly steps, as a
    // release that never returns would. The whole-program tests show with it that a
    // second signal still ends the process.
    const bool hangAfterShutdown = qEnvironmentVariableIsSet("ZORVAN_TEST_HANG_AFTER_SHUTDOWN");

    if (!hasDisplay()) {
        qCWarning(lcStartup, "no display to show the window on (DISPLAY and "
                             "WAYLAND_DISPLAY are not set)");
        return 1;
    }
    std::optional<QApplication> application(std::in_place, argc, argv);
    // At a scale that leaves no room for the whole window on the screen the application
    // starts again at the largest of the skin's scales that does.
    if (const std::optional<QByteArray> factor = FmMain::scaleFactorToFit()) {
        qCInfo(lcStartup, "the window does not fit the screen: QT_SCALE_FACTOR=%s",
               factor->constData());
        application.reset();
        qputenv("QT_SCALE_FACTOR", *factor);
        application.emplace(argc, argv);
    }
    QApplication &app = *application;
    QApplication::setApplicationName(QStringLiteral("zorvan"));
    // No display name: Qt would add it to every window's title on X11 and Wayland
    // ("参数设置 — 岚铃播放器"); each window names itself, the main one the player.
    QApplication::setDesktopFileName(MimeRegistry::desktopEntryName());
    // Qt's own dialogs and buttons speak Chinese, as the player does, whatever the locale.
    QTranslator qtTexts;
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), translations))
        QApplication::installTranslator(&qtTexts);
    else
        qCWarning(lcStartup, "no qtbase_zh_CN in %s: Qt's dialogs speak English",
                  qUtf8Printable(translations));

    // Every argument is one song, playlist or folder, as a desktop passes them (%F), relative
    // to this start's working folder: a player already running gets them resolved.
    const CommandLineSongs songs =
        songsFromArguments(QApplication::arguments().mid(1), QDir::currentPath());
    for (const QString &problem : songs.problems)
        qCWarning(lcStartup, "%s", qUtf8Printable(problem));

    // Without a folder that only this user reaches, the socket could hand the songs of a later
    // start to another user: the player then runs alone and says why.
    const RuntimeFolder runtime =
        privateRuntimeFolder(QFile::decodeName(qgetenv("XDG_RUNTIME_DIR")), QDir::tempPath());
    if (!runtime.problem.isEmpty())
        qCWarning(lcStartup, "%s", qUtf8Printable(runtime.problem));
    std::optional<SingleInstance> instance;
    if (runtime.path.isEmpty()) {
        qCWarning(lcStartup, "this player runs alone: later starts open another one");
    } else {
        instance.emplace(QDir(runtime.path).filePath(QStringLiteral("岚铃播放器.socket")));
        switch (instance->CheckExist(songs)) {
        case SingleInstance::Outcome::First:
            break;
        case SingleInstance::Outcome::OtherActivated:
            if (!instance->errorString().isEmpty())
                qCWarning(lcStartup, "%s", qUtf8Printable(instance->errorString()));
            return 0;
        case SingleInstance::Outcome::Refused:
            qCWarning(lcStartup, "%s", qUtf8Printable(instance->errorString()));
            return 1;
        }
    }

    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QString programPath = QApplication::applicationFilePath();
    Session session(dataFolder);
    GstMediaControl media;
    // A start with a song to cue has GStreamer made ready while the window is built; one
    // without loads none of it until a song is opened.
    if (!songs.isEmpty() || QFileInfo(session.path(Session::File::Playlist)).size() > 0)
        media.prepare();
    QtLyricFileChooser lyricChooser;
    QtPlaylistFileDialogs playlistDialogs;
    MimeRegistry registry(programPath, dataFolder);
    MessageBoxes messages;
    Regist regist(registry, messages);
    QtOptionsChoosers optionsChoosers;
    PlayerApp program({media,
                       session,
                       lyricChooser,
                       playlistDialogs,
                       {session, regist, programPath, optionsChoosers, messages},
                       messages,
                       readSongTags});
    FmMain &window = program.window();
    messages.setMainWindow(&window);
    playlistDialogs.setParent(&window);
    if (instance) {
        QObject::connect(&*instance, &SingleInstance::activationRequested, &window,
                         &FmMain::bringForward);
        // Songs a later start hands over join the list as dropped files do; the first plays.
        QObject::connect(&*instance, &SingleInstance::openRequested, &window,
                         [&program](const CommandLineSongs &handed) {
                             program.player().transport().openSongs(handed);
                             program.window().bringForward();
                         });
        // The rest of a list too long for one request follows it.
        QObject::connect(&*instance, &SingleInstance::songsAdded, &window,
                         [&program](const CommandLineSongs &more) {
                             program.player().transport().addSongs(more);
                         });
    }
    // Set up before the start-up reads the settings, whose tray mode it follows.
    TrayIcon tray(window, session, program.menus());
    program.start(songs);

    // The desktop's media keys and remote controls. Without a session bus the player runs as
    // it would without them, and says nothing. Connecting to the bus waits for its answers, so
    // that is done on a worker while the window comes up; the service name is asked for
    // without waiting.
    MprisService mpris(program.player(), media);
    QObject::connect(&mpris, &MprisService::raiseRequested, &window, &FmMain::bringForward);
    WorkQueue busConnection;
    busConnection.add([] { return QDBusConnection::sessionBus().isConnected(); },
                      [&mpris](bool isConnected) {
                          if (isConnected)
                              mpris.registerOn(QDBusConnection::sessionBus());
                      });
    // The icon for a window that may move to a screen of another pixel ratio holds the
    // pictures of both sizes: made once the window is on the screen.
    runAfterFirstFrame(window, [&window] {
        const QList<QScreen *> screens = QGuiApplication::screens();
        if (std::any_of(screens.cbegin(), screens.cend(), [&window](const QScreen *screen) {
                return !qFuzzyCompare(screen->devicePixelRatio(), window.devicePixelRatioF());
            }))
            window.setWindowIcon(applicationIcon());
    });

    // Only now, with the window loaded, do signals reach the shutdown: one that came during
    // the start-up has waited, and the shutdown runs inside the event loop.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, [&] {
        program.quitQuietly();
        while (hangAfterShutdown)
            ::pause();
    });
    return app.exec();
}
