#include "platform/gstmediacontrol.h"

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <QElapsedTimer>
#include <QRegularExpression>
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
// track that keeps what it is given until the test counts the frames and measures the level
// of each channel.

namespace {

using Failure = MediaControl::Failure;

constexpr int Rate = 44100;
// The test tone is a sine at half of full scale; its RMS is the level of unity gain.
const double UnityRms = 0.5 / std::sqrt(2.0);
const double FiftyDecibelsDown = std::pow(10.0, -2.5);

constexpr const char *Wav = "wavenc";
constexpr const char *Mp3 = "lamemp3enc target=bitrate cbr=true bitrate=128";
constexpr const char *Wma = "avenc_wmav2 bitrate=128000 ! avmux_asf";

// What the sink heard: frames, and the level of each channel as a gain on the tone.
struct Heard
{
    qint64 frames = 0;
    double left = 0, right = 0;
};

class GstMediaControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // GStreamer's leak tracer, the only tracer, keeps a list of the players' pipelines and
        // volume stages alive (the encoders of the tests' own files are not counted); it is
        // chosen before GStreamer starts.
        g_setenv("GST_TRACERS", "leaks(filters=GstPlayBin,GstVolume)", TRUE);
        gst_init(nullptr, nullptr);
        ASSERT_TRUE(m_folder.isValid());
        // The sink takes the sound as fast as it comes and keeps it until it is taken.
        m_control = std::make_unique<GstMediaControl>([this] {
            GstElement *sink = gst_element_factory_make("appsink", nullptr);
            g_autoptr(GstCaps) caps = gst_caps_from_string("audio/x-raw,format=F32LE,channels=2");
            g_object_set(sink, "caps", caps, "sync", FALSE, "wait-on-eos", FALSE, nullptr);
            const std::lock_guard<std::mutex> lock(m_sinkMutex);
            m_sink.reset(GST_APP_SINK(gst_object_ref(sink)));
            return sink;
        });
        const auto record = [this](const char *what) {
            return [this, what](quint64 serial) {
                m_events << QString("%1 %2").arg(what).arg(serial);
            };
        };
        QObject::connect(m_control.get(), &MediaControl::failed,
                         [this](quint64, Failure reason) { m_lastFailure = reason; });
        QObject::connect(m_control.get(), &MediaControl::failed, record("failed"));
        QObject::connect(m_control.get(), &MediaControl::opened, record("opened"));
        QObject::connect(m_control.get(), &MediaControl::endOfStream, record("ended"));
    }

    // What the latest track's sink was given and not taken yet.
    Heard takeHeard()
    {
        const std::lock_guard<std::mutex> lock(m_sinkMutex);
        double squares[2] = {};
        qint64 frames = 0;
        while (g_autoptr(GstSample) sample = gst_app_sink_try_pull_sample(m_sink.get(), 0)) {
            GstBuffer *buffer = gst_sample_get_buffer(sample);
            std::vector<float> values(gst_buffer_get_size(buffer) / sizeof(float));
            gst_buffer_extract(buffer, 0, values.data(), values.size() * sizeof(float));
            for (size_t index = 0; index < values.size(); ++index)
                squares[index % 2] += double(values[index]) * values[index];
            frames += qint64(values.size() / 2);
        }
        const double unity = UnityRms * UnityRms * double(std::max<qint64>(frames, 1));
        return {frames, std::sqrt(squares[0] / unity), std::sqrt(squares[1] / unity)};
    }

    // `what` happened to the latest track.
    QString event(const char *what) const { return QString("%1 %2").arg(what).arg(m_serial); }
    // How many events match `pattern` whole, and waiting until one does.
    qsizetype count(const QString &pattern) const
    {
        return m_events.filter(QRegularExpression('^' + pattern + '$')).size();
    }
    bool waitFor(const QString &pattern, int milliseconds = 10000)
    {
        return QTest::qWaitFor([&] { return count(pattern) > 0; }, milliseconds);
    }

    // Opens `path` and waits for the answer: true when it opened.
    bool open(const QString &path)
    {
        m_control->open(++m_serial, path);
        return waitFor(event("(opened|failed)")) && m_events.last() == event("opened");
    }

    bool playToEnd()
    {
        m_control->play();
        return waitFor(event("ended"));
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

    // A 441 Hz sine at half of full scale, `centiseconds` long, encoded by `encoder`.
    QString tone(const QString &name, int centiseconds, const char *encoder, int channels = 2)
    {
        const char *source = "audiotestsrc wave=sine freq=441 volume=0.5 samplesperbuffer=441";
        return encode(name, QString("%1 num-buffers=%2 ! audio/x-raw,rate=44100,channels=%3 ! %4")
                                .arg(source, QString::number(centiseconds),
                                     QString::number(channels), encoder));
    }

    QTemporaryDir m_folder;
    std::mutex m_sinkMutex;
    std::unique_ptr<GstAppSink, decltype(&gst_object_unref)> m_sink{nullptr, gst_object_unref};
    std::unique_ptr<GstMediaControl> m_control;
    quint64 m_serial = 0;
    QStringList m_events;
    Failure m_lastFailure = Failure::Missing;
};

// What opening a file gives: its length and tags, or the reason it is refused.
struct FileCase
{
    QString path;
    std::optional<Failure> refusal;
    double seconds = 0, tolerance = 0;
    QString artist = {}, title = {};
};

// Every file plays whole and ends once, or is refused with its reason, and the track before
// it is released. A track's pipeline is freed once it is replaced or released, however it
// ended; one left behind keeps its threads and file descriptors too. Tags in a legacy 8-bit
// encoding (ID3v1, ID3v2's ISO-8859-1 frames) are GB18030 bytes or, for Björk, Latin-1 ones.
TEST_F(GstMediaControlTest, FilesPlayWholeOrAreRefusedAndLeaveNoElementBehind)
{
    const QByteArray mp3 = readFile(tone("plain.mp3", 300, Mp3));
    const QString wav = tone("tone.wav", 150, Wav);
    // An ID3v1 tag: title, artist, the rest empty.
    const QString tagged = writeFile(
        m_folder.filePath("tagged.mp3"),
        mp3 + "TAG" + QByteArray("\xba\xec\xb6\xb9").leftJustified(30, 0) +
            QByteArray("\xcd\xf5\xb7\xc6").leftJustified(30, 0) + QByteArray(64, 0) + '\xff');
    // ID3v2.3 before the sound: artist and title as ISO-8859-1 frames of the bytes given.
    const auto id3v2 = [&](const char *name, const QByteArray &artist, const QByteArray &title) {
        QByteArray frames;
        for (const auto &[id, text] : {std::pair{"TPE1", artist}, std::pair{"TIT2", title}})
            frames += id + QByteArray(3, 0) + char(text.size() + 1) + QByteArray(3, 0) + text;
        return writeFile(m_folder.filePath(name),
                         "ID3\x03" + QByteArray(5, 0) + char(frames.size()) + frames + mp3);
    };
    const FileCase cases[] = {
        {wav, {}, 1.5, 0.001},
        // Constant bit rate without a length header: only the frames tell the length.
        {tagged, {}, 3.0, 0.1, "王菲", "红豆"},
        {id3v2("v2.mp3", "\xcd\xf5\xb7\xc6", "\xba\xec\xb6\xb9"), {}, 3.0, 0.1, "王菲", "红豆"},
        {id3v2("latin.mp3", "Bj\xf6rk", "J\xf3ga"), {}, 3.0, 0.1, "Björk", "Jóga"},
        {writeFile(m_folder.filePath("text.mp3"), "not a sound file\r\n"), Failure::NotAudio},
        {tone("tone.wma", 300, Wma), {}, 3.0, 0.05},
        {m_folder.filePath("missing.mp3"), Failure::Missing},
        {encode("picture.png", "videotestsrc num-buffers=1 ! pngenc"), Failure::NotAudio},
    };
    for (const FileCase &entry : cases) {
        SCOPED_TRACE(entry.path.toStdString());
        ASSERT_EQ(open(entry.path), !entry.refusal);
        // A refused file leaves no track behind, not even the one before it.
        EXPECT_EQ(m_control->fileName(), entry.refusal ? QString() : entry.path);
        EXPECT_NEAR(m_control->duration(), entry.seconds, entry.tolerance);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoAuthor), entry.artist);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoTitle), entry.title);
        if (entry.refusal) {
            EXPECT_EQ(m_lastFailure, *entry.refusal);
            continue;
        }
        ASSERT_TRUE(playToEnd());
        // A lossy codec adds a few hundredths of a second of silence around the sound.
        EXPECT_NEAR(takeHeard().frames, entry.seconds * Rate, Rate / 20);
        EXPECT_NEAR(m_control->currentPosition(), m_control->duration(), 0.01);
    }
    // A cut file ends or fails once, with a changed output queued while it plays. Opening it
    // is what proves that no second end was queued before.
    ASSERT_TRUE(open(writeFile(m_folder.filePath("truncated.mp3"), mp3.left(mp3.size() / 3))));
    EXPECT_EQ(count("ended \\d+"), 5);
    m_control->setBalance(2000);
    m_control->play();
    const QString answer = event("(ended|failed)");
    ASSERT_TRUE(waitFor(answer));
    ASSERT_TRUE(open(wav));
    EXPECT_EQ(count(answer), 1);
    m_control->release();
    ASSERT_TRUE(GstTrack::waitForAllEnded(5000));
    // The leak tracer (see SetUp()) lists the players' pipelines and volume stages still alive.
    g_autolist(GstTracer) tracers = gst_tracing_get_active_tracers();
    g_autoptr(GstStructure) live = nullptr;
    ASSERT_TRUE(tracers);
    g_signal_emit_by_name(tracers->data, "get-live-objects", &live);
    ASSERT_TRUE(live);
    EXPECT_EQ(gst_value_list_get_size(gst_structure_get_value(live, "live-objects-list")), 0u);
}

struct LevelCase
{
    int volume, balance;
    bool isMuted;
    const QString &second;
    double left, right;
};

TEST_F(GstMediaControlTest, LevelsFollowVolumeBalanceAndMuteAcrossFiles)
{
    const QString first = tone("first.wav", 20, Wav);
    const QString stereo = tone("second.wav", 20, Wav);
    // The same tone in one channel, which both channels play.
    const QString mono = tone("mono.wav", 20, Wav, 1);
    const LevelCase cases[] = {
        {-2000, 0, false, stereo, 0.1, 0.1},
        {0, -5000, false, stereo, 1, FiftyDecibelsDown},
        {0, 5000, false, stereo, FiftyDecibelsDown, 1},
        {0, 0, true, stereo, 0, 0},
        {0, 0, false, mono, 1, 1},
        {0, 5000, false, mono, FiftyDecibelsDown, 1},
    };
    for (const LevelCase &entry : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &entry - cases);
        // Set before the first file and while the second opens: both must hold for it.
        m_control->setVolume(entry.volume);
        ASSERT_TRUE(open(first));
        m_control->open(++m_serial, entry.second);
        m_control->setBalance(entry.balance);
        m_control->setMute(entry.isMuted);
        ASSERT_TRUE(playToEnd());
        EXPECT_EQ(m_control->volume(), entry.volume);
        const Heard heard = takeHeard();
        EXPECT_EQ(heard.frames, Rate / 5);
        EXPECT_NEAR(heard.left, entry.left, entry.left * 0.02 + 1e-4);
        EXPECT_NEAR(heard.right, entry.right, entry.right * 0.02 + 1e-4);
    }
}

// A source that never delivers, or stops delivering, fails in bounded time without ever
// holding up the user-interface thread, and the next track plays.
TEST_F(GstMediaControlTest, StalledSourcesFailInTimeAndTheWindowLivesOn)
{
    const QString next = tone("next.wav", 20, Wav);
    const QByteArray wav = readFile(tone("long.wav", 400, Wav));
    // What a writer sends before it stalls; without bytes nothing ever opens the pipe.
    for (const QByteArray &sent : {QByteArray(), wav.left(wav.size() / 2)}) {
        SCOPED_TRACE(sent.isEmpty() ? "a pipe without a writer" : "a pipe that stalls");
        const QString pipe = m_folder.filePath(QString("pipe-%1.wav").arg(m_serial));
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        // The pipe holds all that is sent, and the writer stays until it is closed.
        const int writer =
            sent.isEmpty() ? -1 : ::open(QFile::encodeName(pipe).constData(), O_RDWR);
        ASSERT_TRUE(sent.isEmpty() ||
                    (::fcntl(writer, F_SETPIPE_SZ, int(sent.size())) >= sent.size() &&
                     ::write(writer, sent.constData(), sent.size()) == sent.size()));
        QElapsedTimer sinceTick, took;
        qint64 longestGap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        ticker.start(10);
        sinceTick.start();
        took.start();
        if (open(pipe))
            m_control->play(); // it prerolled from what was sent: the stall comes later
        ASSERT_TRUE(waitFor(event("failed"), 12000));
        EXPECT_EQ(m_lastFailure, Failure::TimedOut);
        EXPECT_LT(took.elapsed(), sent.isEmpty() ? 6000 : 11000);
        // A thread that waited on the source would stall for its 5 s timeout; a busy machine
        // delays a 10 ms tick by far less than a second.
        EXPECT_LT(longestGap, 1000) << "the user-interface thread was held up";
        // Skipping over the stuck source again and again leaves one track on it at most.
        for (int visit = 0; visit < 5; ++visit)
            m_control->open(++m_serial, pipe);
        ASSERT_TRUE(open(next));
        EXPECT_TRUE(playToEnd());
        EXPECT_TRUE(GstTrack::waitForAllEnded(4000, 2)) << "the source and the next track";
        m_control->release();
        // A reader blocked in opening the pipe is let go by the player; one waiting for the
        // next byte of a writer that stalls is held until that writer goes away.
        if (writer >= 0)
            ::close(writer);
        EXPECT_TRUE(GstTrack::waitForAllEnded(5000)) << "the pipe's reader was let go";
    }
}

} // namespace
