#include "platform/gstmediacontrol.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <gtest/gtest.h>

#include "platform/gsttrack.h"
#include "support/files.h"
#include "support/qtprinters.h"

// Lengths that come true while a track plays, and tracks that follow one another without a
// gap, heard through an appsink per track that keeps every sample it is given.

namespace {

constexpr int Rate = 44100;

class GstFollowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // GStreamer starts once for the whole program: with the leak tracer that other tests
        // of it read, which is chosen before it starts.
        g_setenv("GST_TRACERS", "leaks(filters=GstPlayBin,GstVolume)", FALSE);
        gst_init(nullptr, nullptr);
        ASSERT_TRUE(m_folder.isValid());
        m_control = std::make_unique<GstMediaControl>([this] {
            GstElement *sink = gst_element_factory_make("appsink", nullptr);
            g_autoptr(GstCaps) caps = gst_caps_from_string("audio/x-raw,format=F32LE,channels=2");
            g_object_set(sink, "caps", caps, "sync", FALSE, "wait-on-eos", FALSE, nullptr);
            if (m_isPaced)
                g_object_set(sink, "max-buffers", 1u, "drop", FALSE, nullptr);
            const std::lock_guard<std::mutex> lock(m_sinkMutex);
            m_sink.reset(GST_APP_SINK(gst_object_ref(sink)));
            return sink;
        });
        const auto record = [this](const char *what) {
            return [this, what](quint64 serial) {
                m_events << QString("%1 %2").arg(what).arg(serial);
            };
        };
        QObject::connect(m_control.get(), &MediaControl::failed, record("failed"));
        QObject::connect(m_control.get(), &MediaControl::opened, record("opened"));
        QObject::connect(m_control.get(), &MediaControl::endOfStream, record("ended"));
        QObject::connect(m_control.get(), &MediaControl::followed, record("followed"));
        QObject::connect(m_control.get(), &MediaControl::durationChanged, record("length"));
    }

    // Adds a buffer the latest track's sink holds to what was heard; false without one.
    bool takeOne()
    {
        const std::lock_guard<std::mutex> lock(m_sinkMutex);
        g_autoptr(GstSample) sample = gst_app_sink_try_pull_sample(m_sink.get(), 0);
        if (!sample)
            return false;
        GstBuffer *buffer = gst_sample_get_buffer(sample);
        const size_t start = m_heard.size();
        m_heard.resize(start + gst_buffer_get_size(buffer) / sizeof(float));
        gst_buffer_extract(buffer, 0, m_heard.data() + start,
                           (m_heard.size() - start) * sizeof(float));
        return true;
    }
    // Every sample heard and not taken yet, channels interleaved.
    std::vector<float> takeHeard()
    {
        while (takeOne()) {
        }
        return std::exchange(m_heard, {});
    }
    // Takes what the sink holds, one buffer at a time, until `event` has happened, or `until`
    // holds.
    bool playUntil(const QString &event, const std::function<bool()> &until = {})
    {
        return QTest::qWaitFor(
            [&] {
                if (m_events.contains(event) || (until && until()))
                    return true;
                takeOne();
                return false;
            },
            10000);
    }

    bool waitFor(const QString &event, int milliseconds = 10000)
    {
        return QTest::qWaitFor([&] { return m_events.contains(event); }, milliseconds);
    }

    bool open(quint64 serial, const QString &path)
    {
        m_control->open(serial, path);
        const QString opened = QString("opened %1").arg(serial);
        QTest::qWaitFor(
            [&] {
                return m_events.contains(opened) ||
                       m_events.contains(QString("failed %1").arg(serial));
            },
            10000);
        return m_events.contains(opened);
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
            bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        gst_element_set_state(pipeline, GST_STATE_NULL);
        EXPECT_TRUE(message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) << name.toStdString();
        return path;
    }

    // A stereo sine of `hertz` at half of full scale, `centiseconds` long, as 16-bit WAV.
    QString tone(const QString &name, int hertz, int centiseconds)
    {
        return encode(name, QString("audiotestsrc wave=sine freq=%1 volume=0.5 "
                                    "samplesperbuffer=441 num-buffers=%2 ! "
                                    "audio/x-raw,format=S16LE,rate=44100,channels=2 ! wavenc")
                                .arg(hertz)
                                .arg(centiseconds));
    }

    // The samples of a WAV file written by tone(), as the sink receives them.
    static std::vector<float> samplesOf(const QString &path)
    {
        const QByteArray bytes = readFile(path);
        const qsizetype data = bytes.indexOf("data") + 8;
        quint32 size = 0;
        for (int index = 3; index >= 0; --index)
            size = size << 8 | quint8(bytes[data - 4 + index]);
        const qsizetype end = std::min(bytes.size(), data + qsizetype(size));
        std::vector<float> samples;
        for (qsizetype at = data; at + 1 < end; at += 2)
            samples.push_back(float(qint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8)) /
                              32768.0f);
        return samples;
    }

    QTemporaryDir m_folder;
    // The sink holds one buffer and waits until the test takes it.
    bool m_isPaced = false;
    std::vector<float> m_heard;
    std::mutex m_sinkMutex;
    std::unique_ptr<GstAppSink, decltype(&gst_object_unref)> m_sink{nullptr, gst_object_unref};
    std::unique_ptr<GstMediaControl> m_control;
    QStringList m_events;
};

// A stream whose bit rate falls after its start, with no header that gives its length: the
// length read after the preroll, from the first frames' rate, is far too short.
TEST_F(GstFollowTest, VariableRateLengthComesTrueAndSeeksPassTheGuess)
{
    const QString mp3 = encode(
        "vbr.mp3", "audiotestsrc wave=white-noise num-buffers=100 samplesperbuffer=441 ! "
                   "audio/x-raw,rate=44100,channels=2 ! joined. "
                   "audiotestsrc wave=sine volume=0.02 num-buffers=900 samplesperbuffer=441 ! "
                   "audio/x-raw,rate=44100,channels=2 ! joined. "
                   "concat name=joined ! audioconvert ! lamemp3enc target=quality quality=0");
    constexpr double TrueLength = 10.0;
    // Where a seek goes, how much of the track is heard after it, and how near the length
    // comes to the true one: after a seek the parser estimates from fewer frames.
    struct SeekCase
    {
        std::optional<double> target;
        double heardSeconds, lengthTolerance;
    };
    const SeekCase cases[] = {
        {{}, TrueLength, 0.1}, {8.0, 2.0, 0.5}, {30.0, 0.0, 0.5}, {-3.0, TrueLength, 1.5}};
    quint64 serial = 0;
    for (const SeekCase &entry : cases) {
        SCOPED_TRACE(entry.target.value_or(-1));
        ASSERT_TRUE(open(++serial, mp3));
        const double guess = m_control->duration();
        EXPECT_GT(guess, 0.0);
        EXPECT_LT(guess, TrueLength * 0.75) << "the file does not make the guess wrong";
        if (entry.target)
            m_control->setCurrentPosition(*entry.target);
        m_control->play();
        ASSERT_TRUE(waitFor(QString("ended %1").arg(serial)));
        // The encoder adds a few hundredths of a second of silence around the sound.
        EXPECT_NEAR(double(takeHeard().size()) / 2 / Rate, entry.heardSeconds, 0.1);
        // Its end has shown the parser every frame it reads.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return std::abs(m_control->duration() - TrueLength) < entry.lengthTolerance; },
            5000))
            << m_control->duration();
        EXPECT_TRUE(m_events.contains(QString("length %1").arg(serial)));
    }
}

// Two tones back to back: the sink is given every sample of both, in order, with nothing
// between them, and from the follow on the control describes the second track. The sink
// takes the sound at the test's pace, as an output takes it in time, so that a track is read
// to its end only after it was followed and the next one was queued.
TEST_F(GstFollowTest, QueuedTrackFollowsWithoutAGap)
{
    m_isPaced = true;
    const QString first = tone("first.wav", 441, 150);
    const QString second = tone("second.wav", 882, 250);
    const QString third = encode("third.mp3", "audiotestsrc num-buffers=20 samplesperbuffer=441 "
                                              "! audio/x-raw,rate=44100,channels=2 ! "
                                              "taginject tags=\"artist=Ann,title=Tune\" ! "
                                              "lamemp3enc ! id3v2mux");
    QString atFollow;
    QObject::connect(m_control.get(), &MediaControl::followed, [&](quint64 serial) {
        atFollow =
            QString("%1 %2 %3")
                .arg(serial)
                .arg(m_control->fileName(), m_control->mediaInfoString(MediaControl::InfoTitle));
        if (serial == 2)
            m_control->queueNext(3, third);
    });
    ASSERT_TRUE(open(1, first));
    m_control->queueNext(2, second);
    m_control->play();
    ASSERT_TRUE(playUntil("followed 2"));
    EXPECT_EQ(atFollow, "2 " + second + " ");
    ASSERT_TRUE(playUntil("ended 3"));
    // The lengths come from the track's thread, in no fixed order with the end.
    EXPECT_TRUE(m_events.contains("length 2") && m_events.contains("length 3"));
    EXPECT_EQ(m_events.filter(QRegularExpression("^(opened|followed|ended|failed)")),
              QStringList({"opened 1", "followed 2", "followed 3", "ended 3"}));
    EXPECT_EQ(m_control->fileName(), third);
    EXPECT_NEAR(m_control->duration(), 0.2, 0.06);
    EXPECT_NEAR(m_control->currentPosition(), m_control->duration(), 0.01);
    EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoAuthor), "Ann");
    EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoTitle), "Tune");
    std::vector<float> expected = samplesOf(first);
    const std::vector<float> tail = samplesOf(second);
    expected.insert(expected.end(), tail.begin(), tail.end());
    std::vector<float> heard = takeHeard();
    ASSERT_GE(heard.size(), expected.size());
    heard.resize(expected.size());
    EXPECT_TRUE(heard == expected) << "the junction lost or added sound";
}

// A queued track that cannot start leaves the playing one to play out whole, which then
// ends under its own serial; the caller opens the next one itself.
TEST_F(GstFollowTest, QueuedTrackThatCannotStartEndsThePlayingOne)
{
    const QString first = tone("first.wav", 441, 50);
    const QString pipe = m_folder.filePath("pipe.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString queued[] = {
        m_folder.filePath("missing.wav"),
        writeFile(m_folder.filePath("text.wav"), "not a sound file\r\n"), pipe,
        "", // withdrawn
    };
    quint64 serial = 0;
    for (const QString &path : queued) {
        SCOPED_TRACE(path.toStdString());
        m_events.clear();
        const quint64 playing = ++serial;
        ASSERT_TRUE(open(playing, first));
        m_control->queueNext(++serial, path.isEmpty() ? first : path);
        if (path.isEmpty())
            m_control->queueNext(serial, "");
        m_control->play();
        ASSERT_TRUE(waitFor(QString("ended %1").arg(playing)));
        EXPECT_EQ(m_events, QStringList({QString("opened %1").arg(playing),
                                         QString("ended %1").arg(playing)}));
        EXPECT_EQ(takeHeard().size(), samplesOf(first).size());
    }
    // The reader stuck on the pipe is let go with its track.
    m_control->release();
    EXPECT_TRUE(GstTrack::waitForAllEnded(5000));
}

// The URI of the track playbin reads, which is the queued track's once it was handed over.
QByteArray playingUriOf(GstElement *sink)
{
    g_autoptr(GstObject) pipeline = GST_OBJECT(gst_object_ref(sink));
    while (GstObject *parent = gst_object_get_parent(pipeline)) {
        gst_object_unref(pipeline);
        pipeline = parent;
    }
    g_autofree gchar *uri = nullptr;
    g_object_get(pipeline, "current-uri", &uri, nullptr);
    return uri;
}

// A seek while the queued track is being handed over is a seek in the playing track, which
// then plays on from there and is still followed. The sink takes one buffer at a time
// until playbin has the queued track, so that the seek comes while the playing track is
// still heard.
TEST_F(GstFollowTest, SeekDuringTheHandoverStaysInThePlayingTrack)
{
    m_isPaced = true;
    const QString first = tone("first.wav", 441, 300);
    const QString second = tone("second.wav", 882, 30);
    ASSERT_TRUE(open(1, first));
    m_control->queueNext(2, second);
    m_control->play();
    const QByteArray handedOver = QUrl::fromLocalFile(second).toEncoded();
    ASSERT_TRUE(playUntil("ended 1",
                          [&] { return playingUriOf(GST_ELEMENT(m_sink.get())) == handedOver; }));
    ASSERT_EQ(m_events, QStringList({"opened 1"}));
    // What the sink held before the seek's flush is dropped: the tail is what counts.
    m_control->setCurrentPosition(0.1);
    ASSERT_TRUE(playUntil("ended 2"));
    EXPECT_TRUE(m_events.contains("length 2"));
    EXPECT_EQ(m_events.filter(QRegularExpression("^(opened|followed|ended|failed)")),
              QStringList({"opened 1", "followed 2", "ended 2"}));
    std::vector<float> expected = samplesOf(first);
    expected.erase(expected.begin(), expected.begin() + Rate / 10 * 2);
    const std::vector<float> tail = samplesOf(second);
    expected.insert(expected.end(), tail.begin(), tail.end());
    const std::vector<float> heard = takeHeard();
    ASSERT_GE(heard.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.rbegin(), expected.rend(), heard.rbegin()))
        << "heard " << heard.size() << " samples";
}

} // namespace
