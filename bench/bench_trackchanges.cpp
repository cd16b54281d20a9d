#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gst/gst.h>

#include "core/commandline.h"
#include "core/player.h"
#include "core/session.h"
#include "platform/gstmediacontrol.h"

// What the process keeps over many track changes: the real player core asks the real
// GStreamer backend, with the desktop's default output, for the next entry of a generated
// playlist (MP3 with tags, WAV, WMA, half of them with lyric files) once the current one
// has played a moment, as a user pressing "next" would. Peak and resident memory, threads
// and open files are taken after 10 changes and again at the end; the peak may grow by
// less than 5 MiB between the two.
//
// Usage: bench_trackchanges [CHANGES]   (1000 when not given)

namespace {

constexpr int WarmUpChanges = 10;
constexpr double AllowedGrowthMiB = 5.0;
// How far a track plays before the next is asked for, in seconds.
constexpr double PlayedEnough = 0.05;
// A track that has not opened and played that far in this time stops the run.
constexpr int TrackTimeoutMs = 10000;

struct ProcessFigures
{
    double peakMiB = 0;
    double residentMiB = 0;
    int threads = 0;
    int openFiles = 0;
};

// A field of /proc/self/status given in kB, in MiB.
double statusMiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

int entriesOf(const QString &folder)
{
    return int(
        QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

ProcessFigures measure()
{
    return {statusMiB("VmHWM"), statusMiB("VmRSS"), entriesOf(QStringLiteral("/proc/self/task")),
            entriesOf(QStringLiteral("/proc/self/fd"))};
}

void print(const char *when, const ProcessFigures &figures)
{
    std::printf("%-22s peak %7.1f MiB  resident %7.1f MiB  threads %3d  open files %3d\n", when,
                figures.peakMiB, figures.residentMiB, figures.threads, figures.openFiles);
}

// Runs `description ! filesink` into `path`; false when it did not reach its end.
bool encode(const QString &description, const QString &path)
{
    const QString full = QStringLiteral("%1 ! filesink location=\"%2\"").arg(description, path);
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(full.toUtf8().constData(), &error);
    if (!pipeline) {
        std::fprintf(stderr, "cannot make %s: %s\n", qPrintable(path), error->message);
        g_error_free(error);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus *bus = gst_element_get_bus(pipeline);
    GstMessage *message = gst_bus_timed_pop_filtered(
        bus, 30 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool isDone = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return isDone;
}

// Eight two-second songs of every format the player is made for; every other one has a
// lyric file beside it.
QStringList makePlaylist(const QString &folder)
{
    const struct
    {
        const char *name;
        const char *encoder;
    } formats[] = {
        {"mp3", "lamemp3enc target=bitrate cbr=true bitrate=192 ! taginject "
                "tags=\"artist=\\\"歌手\\\",title=\\\"歌曲\\\"\" ! id3v2mux"},
        {"wav", "wavenc"},
        {"wma", "avenc_wmav2 bitrate=128000 ! avmux_asf"},
        {"mp3", "lamemp3enc target=quality quality=4 ! xingmux ! id3v2mux"},
    };
    QStringList songs;
    for (int index = 0; index < 8; ++index) {
        const auto &format = formats[index % std::size(formats)];
        const QString path = QDir(folder).filePath(QStringLiteral("%1 第%2首.%3")
                                                       .arg(index, 2, 10, QLatin1Char('0'))
                                                       .arg(index + 1)
                                                       .arg(QLatin1String(format.name)));
        const QString source =
            QStringLiteral("audiotestsrc wave=sine freq=%1 volume=0.3 samplesperbuffer=1024 "
                           "num-buffers=86 ! audio/x-raw,rate=44100,channels=2 ! %2")
                .arg(220 + 55 * index)
                .arg(QLatin1String(format.encoder));
        if (!encode(source, path))
            return {};
        if (index % 2 == 0) {
            QFile lyrics(path.left(path.lastIndexOf('.')) + QStringLiteral(".lrc"));
            QByteArray text;
            for (int line = 0; line < 40; ++line)
                text += QStringLiteral("[00:%1.%2]第%3行歌词\r\n")
                            .arg(line / 20, 2, 10, QLatin1Char('0'))
                            .arg(line % 20 * 5, 2, 10, QLatin1Char('0'))
                            .arg(line + 1)
                            .toUtf8();
            if (!lyrics.open(QIODevice::WriteOnly) || lyrics.write(text) != text.size())
                return {};
        }
        songs << path;
    }
    return songs;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int changes = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (changes <= WarmUpChanges) {
        std::fprintf(stderr, "usage: %s [CHANGES > %d]\n", argv[0], WarmUpChanges);
        return 2;
    }
    gst_init(nullptr, nullptr);
    QTemporaryDir folder;
    const QStringList songs = makePlaylist(folder.path());
    if (!folder.isValid() || songs.isEmpty()) {
        std::fprintf(stderr, "cannot generate the playlist\n");
        return 2;
    }

    Session session(folder.filePath(QStringLiteral("data")));
    GstMediaControl media;
    Player player(media, session);

    int done = 0;
    ProcessFigures warm;
    QElapsedTimer clock;
    QTimer poll;
    poll.setInterval(10);
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setInterval(TrackTimeoutMs);
    QObject::connect(&timeout, &QTimer::timeout, [&] {
        std::fprintf(stderr, "track change %d did not play within %d ms\n", done, TrackTimeoutMs);
        QCoreApplication::exit(1);
    });
    QObject::connect(
        &media, &MediaControl::failed, [&](quint64, MediaControl::Failure, const QString &detail) {
            std::fprintf(stderr, "a track failed at change %d: %s\n", done, qPrintable(detail));
            QCoreApplication::exit(1);
        });
    // The transport starts the track on `opened`; the next change comes once it has played.
    QObject::connect(&media, &MediaControl::opened, [&] { poll.start(); });
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (media.currentPosition() < PlayedEnough)
            return;
        poll.stop();
        if (done == WarmUpChanges) {
            warm = measure();
            clock.start();
        }
        if (done == changes) {
            QCoreApplication::exit(0);
            return;
        }
        ++done;
        timeout.start();
        player.transport().NextSong();
    });

    timeout.start();
    player.start(CommandLineSongs{songs, songs, {}});
    const int result = app.exec();
    player.stop();
    if (result != 0)
        return result;

    const ProcessFigures end = measure();
    print(qPrintable(QStringLiteral("after %1 changes:").arg(WarmUpChanges)), warm);
    print(qPrintable(QStringLiteral("after %1 changes:").arg(changes)), end);
    const double growth = end.peakMiB - warm.peakMiB;
    std::printf("peak grew by %.1f MiB (target < %.0f MiB), %.0f ms per change\n", growth,
                AllowedGrowthMiB, double(clock.elapsed()) / (changes - WarmUpChanges));
    return growth < AllowedGrowthMiB ? 0 : 1;
}
