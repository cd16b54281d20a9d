#include "platform/gstmediacontrol.h"

#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <QDataStream>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <gtest/gtest.h>

#include "platform/gsttrack.h"
#include "support/files.h"
#include "support/qtprinters.h"

// Real playback of audio files the tests encode themselves, heard through an appsink per
// track that counts frames and measures the level of each channel.

namespace {

using Failure = MediaControl::Failure;

constexpr int Rate = 44100;
// The test tone is a sine at half of full scale; its RMS is the level of unity gain.
const double UnityRms = 0.5 / std::sqrt(2.0);
const double FiftyDecibelsDown = std::pow(10.0, -2.5);

constexpr const char *Wav = "wavenc";
constexpr const char *Mp3 = "lamemp3enc target=bitrate cbr=true bitrate=128";
constexpr const char *Wma = "avenc_wmav2 bitrate=128000 ! avmux_asf";

// An ID3v2.3 tag whose text frames are in the legacy 8-bit encoding, holding `artist` and
// `title` as the raw bytes given.
QByteArray id3v23Tag(const QByteArray &artist, const QByteArray &title)
{
    QByteArray frames;
    for (const auto &[id, text] : {std::pair{"TPE1", artist}, {"TIT2", title}}) {
        QByteArray frame(id);
        QDataStream(&frame, QIODevice::Append) << quint32(text.size() + 1) << quint16(0);
        frames += frame + '\0' + text;
    }
    QByteArray header("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0}) // a synchsafe size
        header += char((frames.size() >> shift) & 0x7f);
    return header + frames;
}

// Feeds a named pipe from a thread of its own: `bytes`, then the pipe stays open without
// another byte until the feeder is destroyed. Without bytes it never opens the pipe at all.
class PipeFeeder
{
public:
    PipeFeeder(const QString &path, QByteArray bytes) : m_path(path.toLocal8Bit())
    {
        ::mkfifo(m_path.constData(), 0600);
        if (bytes.isEmpty())
            return;
        m_thread = std::thread([this, bytes] {
            m_fd = ::open(m_path.constData(), O_WRONLY);
            if (m_fd >= 0 && ::write(m_fd, bytes.constData(), size_t(bytes.size())) < 0)
                ::close(std::exchange(m_fd, -1));
        });
    }
    ~PipeFeeder()
    {
        if (m_thread.joinable())
            m_thread.join();
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    QByteArray m_path;
    std::thread m_thread;
    int m_fd = -1;
};

class GstMediaControlTest : public testing::Test
{
protected:
    // GStreamer's leak tracer keeps a list of the players' pipelines and volume stages alive
    // (the encoders of the tests' own files are not counted); it is chosen before GStreamer
    // starts.
    static void SetUpTestSuite()
    {
        g_setenv("GST_TRACERS", "leaks(filters=GstPlayBin,GstVolume)", TRUE);
        gst_init(nullptr, nullptr);
    }

    // How many of those exist in the process; -1 without the leak tracer.
    static int liveElements()
    {
        g_autolist(GstTracer) tracers = gst_tracing_get_active_tracers();
        for (GList *item = tracers; item; item = item->next) {
            if (g_strcmp0(G_OBJECT_TYPE_NAME(item->data), "GstLeaksTracer") != 0)
                continue;
            GstStructure *live = nullptr;
            g_signal_emit_by_name(item->data, "get-live-objects", &live);
            const int count =
                int(gst_value_list_get_size(gst_structure_get_value(live, "live-objects-list")));
            gst_structure_free(live);
            return count;
        }
        return -1;
    }

    void SetUp() override
    {
        // A pipe whose reader went away must not end the test program.
        std::signal(SIGPIPE, SIG_IGN);
        gst_init(nullptr, nullptr);
        ASSERT_TRUE(m_folder.isValid());
        // The sink takes the sound as fast as it comes.
        m_control = std::make_unique<GstMediaControl>([this] {
            GstElement *sink = gst_element_factory_make("appsink", nullptr);
            g_autoptr(GstCaps) caps = gst_caps_from_string("audio/x-raw,format=F32LE,channels=2");
            g_object_set(sink, "caps", caps, "sync", FALSE, "wait-on-eos", FALSE, nullptr);
            GstAppSinkCallbacks callbacks = {};
            callbacks.new_sample = [](GstAppSink *appsink, gpointer self) {
                static_cast<GstMediaControlTest *>(self)->hear(appsink);
                return GST_FLOW_OK;
            };
            gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
            return sink;
        });
        QObject::connect(m_control.get(), &MediaControl::opened,
                         [this](quint64 serial) { m_events << QString("opened %1").arg(serial); });
        QObject::connect(m_control.get(), &MediaControl::failed,
                         [this](quint64 serial, Failure reason, const QString &) {
                             m_events << QString("failed %1").arg(serial);
                             m_lastFailure = reason;
                         });
        QObject::connect(m_control.get(), &MediaControl::endOfStream,
                         [this](quint64 serial) { m_events << QString("ended %1").arg(serial); });
    }

    // Runs on the sink's streaming thread.
    void hear(GstAppSink *sink)
    {
        g_autoptr(GstSample) sample = gst_app_sink_pull_sample(sink);
        GstMapInfo map;
        if (!sample || !gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ))
            return;
        const auto *values = reinterpret_cast<const float *>(map.data);
        const std::lock_guard<std::mutex> lock(m_heardMutex);
        for (gsize index = 0; index < map.size / sizeof(float); ++index)
            m_squares[index % 2] += double(values[index]) * values[index];
        m_frames += qint64(map.size / sizeof(float) / 2);
        gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
    }

    // The frames heard since the last call, and the level of each channel as a gain on the
    // tone.
    std::tuple<qint64, double, double> takeHeard()
    {
        const std::lock_guard<std::mutex> lock(m_heardMutex);
        const auto gain = [this](int channel) {
            return m_frames == 0 ? 0 : std::sqrt(m_squares[channel] / m_frames) / UnityRms;
        };
        const std::tuple<qint64, double, double> heard{m_frames, gain(0), gain(1)};
        m_frames = 0;
        m_squares[0] = m_squares[1] = 0;
        return heard;
    }

    // Opens `path` and waits for the answer: true when it opened.
    bool open(const QString &path)
    {
        const quint64 serial = ++m_serial;
        m_control->open(serial, path);
        const auto answered = [&] {
            return m_events.contains(QString("opened %1").arg(serial)) ||
                   m_events.contains(QString("failed %1").arg(serial));
        };
        return QTest::qWaitFor(answered, 10000) &&
               m_events.last() == QString("opened %1").arg(serial);
    }

    bool playToEnd()
    {
        m_control->play();
        const QString ended = QString("ended %1").arg(m_serial);
        return QTest::qWaitFor([&] { return m_events.contains(ended); }, 10000);
    }

    // Runs `description ! filesink` into the named file.
    QString encode(const QString &name, const QString &description)
    {
        const QString path = m_folder.filePath(name);
        const QString full = QString("%1 ! filesink location=\"%2\"").arg(description, path);
        g_autoptr(GstElement) pipeline = gst_parse_launch(full.toUtf8().constData(), nullptr);
        gst_object_ref_sink(pipeline);
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        g_autoptr(GstBus) bus = gst_element_get_bus(pipeline);
        g_autoptr(GstMessage) message = gst_bus_timed_pop_filtered(
            bus, 20 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        gst_element_set_state(pipeline, GST_STATE_NULL);
        EXPECT_TRUE(message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) << name.toStdString();
        return path;
    }

    // A stereo 441 Hz sine at half of full scale, `centiseconds` long, encoded by `encoder`.
    QString tone(const QString &name, int centiseconds, const char *encoder, int channels = 2)
    {
        return encode(name, QString("audiotestsrc wave=sine freq=441 volume=0.5 "
                                    "samplesperbuffer=441 num-buffers=%1 ! "
                                    "audio/x-raw,rate=44100,channels=%2 ! %3")
                                .arg(centiseconds)
                                .arg(channels)
                                .arg(encoder));
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        return writeFile(m_folder.filePath(name), bytes);
    }

    QTemporaryDir m_folder;
    std::mutex m_heardMutex;
    qint64 m_frames = 0;
    double m_squares[2] = {};
    std::unique_ptr<GstMediaControl> m_control;
    quint64 m_serial = 0;
    QStringList m_events;
    Failure m_lastFailure = Failure::Missing;
};

// Tags in the legacy 8-bit encoding are the GB18030 bytes of 王菲 and 红豆.
TEST_F(GstMediaControlTest, PlaysEachFormatWholeWithLengthAndTags)
{
    const QByteArray mp3 = readFile(tone("plain.mp3", 300, Mp3));
    const QByteArray artist("\xcd\xf5\xb7\xc6"), title("\xba\xec\xb6\xb9");
    const struct
    {
        QString path;
        double seconds;
        double tolerance;
        QString artist;
        QString title;
    } cases[] = {
        {tone("tone.wav", 150, Wav), 1.5, 0.001, "", ""},
        // Constant bit rate without a length header: only the frames tell the length.
        {write("v23.mp3", id3v23Tag(artist, title) + mp3), 3.0, 0.1, "王菲", "红豆"},
        {tone("tone.wma", 300, Wma), 3.0, 0.05, "", ""},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.path.toStdString());
        ASSERT_TRUE(open(entry.path));
        EXPECT_EQ(m_control->fileName(), entry.path);
        EXPECT_NEAR(m_control->duration(), entry.seconds, entry.tolerance);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoAuthor), entry.artist);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoTitle), entry.title);
        takeHeard();
        ASSERT_TRUE(playToEnd());
        // A lossy codec adds a few hundredths of a second of silence around the sound.
        EXPECT_NEAR(std::get<0>(takeHeard()), entry.seconds * Rate, Rate / 20);
        EXPECT_NEAR(m_control->currentPosition(), m_control->duration(), 0.01);
    }
    // Opening the next track is what proves that no second end was queued before it.
    ASSERT_TRUE(open(cases[0].path));
    EXPECT_EQ(m_events.filter("ended").size(), int(std::size(cases)));
}

TEST_F(GstMediaControlTest, LevelsFollowVolumeBalanceAndMuteAcrossFiles)
{
    const QString first = tone("first.wav", 20, Wav);
    const QString stereo = tone("second.wav", 20, Wav);
    // The same tone in one channel, which both channels play.
    const QString mono = tone("mono.wav", 20, Wav, 1);
    const struct
    {
        int volume;
        int balance;
        bool isMuted;
        const QString &second;
        double left;
        double right;
    } cases[] = {
        {-2000, 0, false, stereo, 0.1, 0.1},
        {0, -5000, false, stereo, 1, FiftyDecibelsDown},
        {0, 5000, false, stereo, FiftyDecibelsDown, 1},
        {0, 0, true, stereo, 0, 0},
        {0, 0, false, mono, 1, 1},
        {0, 5000, false, mono, FiftyDecibelsDown, 1},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(testing::Message()
                     << entry.volume << " " << entry.balance << " " << entry.second.toStdString());
        // Set before the first file and while the second opens: both must hold for it.
        m_control->setVolume(entry.volume);
        ASSERT_TRUE(open(first));
        m_control->open(++m_serial, entry.second);
        m_control->setBalance(entry.balance);
        m_control->setMute(entry.isMuted);
        takeHeard();
        ASSERT_TRUE(playToEnd());
        EXPECT_EQ(m_control->volume(), entry.volume);
        const auto [frames, left, right] = takeHeard();
        EXPECT_EQ(frames, Rate / 5);
        EXPECT_NEAR(left, entry.left, entry.left * 0.02 + 1e-4);
        EXPECT_NEAR(right, entry.right, entry.right * 0.02 + 1e-4);
    }
}

// A source that never delivers, or stops delivering, fails in bounded time without ever
// holding up the user-interface thread, and the next track plays.
TEST_F(GstMediaControlTest, StalledSourcesFailInTimeAndTheWindowLivesOn)
{
    const QString next = tone("next.wav", 20, Wav);
    const QByteArray wav = readFile(tone("long.wav", 400, Wav));
    const struct
    {
        const char *what;
        QByteArray sent;
    } cases[] = {
        {"a pipe without a writer", {}},
        {"a pipe that stalls after half a file", wav.left(wav.size() / 2)},
    };
    for (const auto &[what, sent] : cases) {
        SCOPED_TRACE(what);
        const QString pipe = m_folder.filePath(QString("pipe-%1.wav").arg(m_serial));
        auto feeder = std::make_unique<PipeFeeder>(pipe, sent);
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        ticker.start(10);
        sinceTick.start();
        QElapsedTimer took;
        took.start();
        if (open(pipe))
            m_control->play(); // it prerolled from what was sent: the stall comes later
        const QString failed = QString("failed %1").arg(m_serial);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_events.contains(failed); }, 12000));
        EXPECT_EQ(m_lastFailure, Failure::TimedOut);
        EXPECT_LT(took.elapsed(), sent.isEmpty() ? 6000 : 11000);
        // A thread that waited on the source would stall for its 5 s timeout; a busy machine
        // delays a 10 ms tick by far less than a second.
        EXPECT_LT(longestGap, 1000) << "the user-interface thread was held up";
        ticker.stop();
        ASSERT_TRUE(open(next));
        EXPECT_TRUE(playToEnd());
        // Skipping over the stuck source again and again leaves one track on it at most.
        for (int visit = 0; visit < 5; ++visit)
            m_control->open(++m_serial, pipe);
        ASSERT_TRUE(open(next));
        EXPECT_TRUE(GstTrack::waitForAllEnded(4000, 2)) << "the source and the next track";
        m_control->release();
        // A reader blocked in opening the pipe is let go by the player; one waiting for the
        // next byte of a writer that stalls is held until that writer goes away.
        feeder.reset();
        EXPECT_TRUE(GstTrack::waitForAllEnded(5000)) << "the pipe's reader was let go";
    }
}

// A cut file ends or fails once. What has no sound is refused with its reason, and the track
// before it is released. A track's pipeline is freed once the track is replaced or released,
// however it ended; one left behind keeps its threads and file descriptors too.
TEST_F(GstMediaControlTest, RefusedReplacedAndReleasedTracksLeaveNoElementBehind)
{
    const QString wav = tone("tone.wav", 20, Wav);
    ASSERT_TRUE(open(wav));
    ASSERT_TRUE(playToEnd());
    const QByteArray mp3 = readFile(tone("whole.mp3", 300, Mp3));
    ASSERT_TRUE(open(write("truncated.mp3", mp3.left(mp3.size() / 3))));
    m_control->setBalance(2000);
    m_control->play();
    const auto answers = [this, serial = m_serial] {
        return m_events.count(QString("ended %1").arg(serial)) +
               m_events.count(QString("failed %1").arg(serial));
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers() > 0; }, 10000));
    const std::pair<QString, Failure> refused[] = {
        {write("text.mp3", "not a sound file\r\n"), Failure::NotAudio},
        {m_folder.filePath("missing.mp3"), Failure::Missing},
        {encode("picture.png", "videotestsrc num-buffers=1 ! pngenc"), Failure::NotAudio},
    };
    for (const auto &[path, reason] : refused) {
        EXPECT_FALSE(open(path)) << path.toStdString();
        EXPECT_EQ(m_lastFailure, reason) << path.toStdString();
        EXPECT_EQ(m_control->fileName(), QString());
        EXPECT_EQ(m_control->duration(), 0.0);
        ASSERT_TRUE(open(wav));
    }
    EXPECT_EQ(answers(), 1) << "everything queued for the cut file has arrived";
    m_control->release();
    ASSERT_TRUE(GstTrack::waitForAllEnded(5000));
    EXPECT_EQ(liveElements(), 0);
}

} // namespace
