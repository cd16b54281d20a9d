#include <cstdio>

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>

#include "platform/gstmediacontrol.h"

// Plays the files given one after another through the player's GStreamer backend and the
// desktop's default output, each queued to follow the one before without a gap, as the
// player queues the next entry of its list; exits when the last one has ended. For
// bench/gapless.sh, which records what the output was given.
//
// Usage: gaplessplay FILE...   exit status 0 when every file followed the one before it

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: gaplessplay FILE...\n");
        return 2;
    }
    GstMediaControl control;
    // The serial of a file is its place in the list, from 1.
    const auto queueAfter = [&](quint64 serial) {
        if (serial < quint64(files.size()))
            control.queueNext(serial + 1, files[qsizetype(serial)]);
    };
    QObject::connect(&control, &MediaControl::opened, [&](quint64 serial) {
        queueAfter(serial);
        control.play();
    });
    QObject::connect(&control, &MediaControl::followed, queueAfter);
    QObject::connect(&control, &MediaControl::endOfStream, [&](quint64 serial) {
        if (serial != quint64(files.size()))
            std::fprintf(stderr, "gaplessplay: %s ended without being followed\n",
                         qPrintable(files[qsizetype(serial) - 1]));
        app.exit(serial == quint64(files.size()) ? 0 : 1);
    });
    QObject::connect(&control, &MediaControl::failed,
                     [&](quint64 serial, MediaControl::Failure, const QString &detail) {
                         std::fprintf(stderr, "gaplessplay: %s failed: %s\n",
                                      qPrintable(files[qsizetype(serial) - 1]), qPrintable(detail));
                         app.exit(1);
                     });
    QTimer::singleShot(120000, &app, [&] {
        std::fprintf(stderr, "gaplessplay: no end within two minutes\n");
        app.exit(1);
    });
    control.open(1, files[0]);
    return app.exec();
}
