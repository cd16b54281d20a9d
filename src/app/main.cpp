#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QStandardPaths>

#include "platform/gstmediacontrol.h"
#include "platform/qtlyricfilechooser.h"
#include "platform/singleinstance.h"
#include "ui/fmmain.h"

namespace {

// SIGTERM and SIGINT end the player like its close button, so a session logout loses
// nothing. The handler only writes a byte; the event loop does the rest.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void watchTerminationSignals(FmMain &window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], &byte, 1);
        notifier->setEnabled(false);
        window.unloadQuietly();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char **argv)
{
    if (!hasDisplay()) {
        std::fprintf(stderr, "zorvan: no display to show the window on (DISPLAY and "
                             "WAYLAND_DISPLAY are not set)\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvan"));
    QApplication::setApplicationDisplayName(QStringLiteral("岚铃播放器"));
    QApplication::setDesktopFileName(QStringLiteral("zorvanplayer"));

    // The arguments joined by single spaces are one path, as a desktop passes it.
    const QString commandText = QApplication::arguments().mid(1).join(u' ');

    const QString runtimeFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    SingleInstance instance(QDir(runtimeFolder).filePath(QStringLiteral("岚铃播放器.socket")));
    switch (instance.CheckExist()) {
    case SingleInstance::Outcome::First:
        break;
    case SingleInstance::Outcome::OtherActivated:
        return 0;
    case SingleInstance::Outcome::Refused:
        std::fprintf(stderr, "zorvan: %s\n", qPrintable(instance.errorString()));
        return 1;
    }

    const QString programFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    GstMediaControl media;
    QtLyricFileChooser lyricChooser;
    FmMain window(media, lyricChooser, programFolder);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                     &FmMain::bringForward);
    watchTerminationSignals(window);
    window.Form_Load(commandText);
    return app.exec();
}
