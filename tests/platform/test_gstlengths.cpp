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
#include <QtEndian>

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
        // Paced, the sink holds one buffer until the test takes it, as an output takes the
        // sound in time; else it takes the sound as fast as it comes.
        m_control = std::make_unique<GstMediaControl>([this] {
            GstElement *sink = gst_element_factory_make("appsink", nullptr);
            g_autoptr(GstCaps) caps = gst_caps_from_string("audio/x-raw,format=F32LE,channels=2");
            g_object_set(sink, "caps", caps, "sync", FALSE, "wait-on-eos", FALSE, "max-buffers",
                         m_isPaced ? 1u : 0u, nullptr);
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
        g_autoptr(GstSample) sample =
            m_sink ? gst_app_sink_try_pull_sample(m_sink.get(), 0) : nullptr;
        GstBuffer *buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
        const size_t start = m_heard.size();
        m_heard.resize(start + (buffer ? gst_buffer_get_size(buffer) / sizeof(float) : 0));
        return buffer && gst_buffer_extract(buffer, 0, m_heard.data() + start,
                                            (m_heard.size() - start) * sizeof(float));
    }
    // Every sample heard and not taken yet, channels interleaved.
    std::vector<float> takeHeard()
    {
        while (takeOne()) {
        }
        return std::exchange(m_heard, {});
    }
    // Takes what the sink holds, a buffer at a time, until `event` or `until` comes true.
    bool playUntil(const QString &event, const std::function<bool()> &until = {})
    {
        return QTest::qWaitFor(
            [&] { return m_events.contains(event) || (until && until()) || (takeOne(), false); },
            10000);
    }
    bool open(quint64 serial, const QString &path)
    {
        m_control->open(serial, path);
        return playUntil(QString("opened %1").arg(serial),
                         [&] { return m_events.contains(QString("failed %1").arg(serial)); }) &&
               m_events.contains(QString("opened %1").arg(serial));
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
    // A stereo sine at half of full scale as 16-bit WAV, with the tags given.
    QString tone(const QString &name, int hertz, int centiseconds, const QString &tags = {})
    {
        return encode(name, QString("audiotestsrc wave=sine freq=%1 volume=0.5 num-buffers=%2 "
                                    "samplesperbuffer=441 ! audio/x-raw,format=S16LE,rate=44100,"
                                    "channels=2 ! taginject tags=\"%3\" ! wavenc")
                                .arg(hertz)
                                .arg(centiseconds)
                                .arg(tags));
    }
    // The samples of a WAV file written by tone(), as the sink receives them.
    static std::vector<float> samplesOf(const QString &path)
    {
        const QByteArray bytes = readFile(path);
        const qsizetype data = bytes.indexOf("data") + 8;
        const qsizetype size = qFromLittleEndian<quint32>(bytes.constData() + data - 4);
        std::vector<float> samples(size_t(size / 2));
        for (size_t index = 0; index < samples.size(); ++index)
            samples[index] =
                qFromLittleEndian<qint16>(bytes.constData() + data + 2 * index) / 32768.0f;
        return samples;
    }

    QTemporaryDir m_folder;
    bool m_isPaced = false;
    std::mutex m_sinkMutex;
    std::unique_ptr<GstAppSink, decltype(&gst_object_unref)> m_sink{nullptr, gst_object_unref};
    std::vector<float> m_heard;
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
        EXPECT_GT(m_control->duration(), 0.0);
        EXPECT_LT(m_control->duration(), TrueLength * 0.75) << "the guess is not wrong";
        if (entry.target)
            m_control->setCurrentPosition(*entry.target);
        m_control->play();
        ASSERT_TRUE(playUntil(QString("ended %1").arg(serial)));
        // The encoder adds a few hundredths of a second of silence around the sound.
        EXPECT_NEAR(double(takeHeard().size()) / 2 / Rate, entry.heardSeconds, 0.1);
        // Its end has shown the parser every frame it reads.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return std::abs(m_control->duration() - TrueLength) < entry.lengthTolerance;
        })) << m_control->duration();
        EXPECT_TRUE(m_events.contains(QString("length %1").arg(serial)));
    }
}

// The URI of the track playbin reads, which is the queued track's once it was handed over.
QByteArray playingUriOf(GstElement *sink)
{
    g_autoptr(GstObject) pipeline = GST_OBJECT(gst_object_ref(sink));
    while (GstObject *parent = gst_object_get_parent(pipeline))
        gst_object_unref(std::exchange(pipeline, parent));
    g_autofree gchar *uri = nullptr;
    g_object_get(pipeline, "current-uri", &uri, nullptr);
    return uri;
}

// Three tones back to back, the second queued when the first starts and the third when the
// second is followed (a track is read to its end about a second before it is heard to it):
// the sink is given every sample, in order, with nothing between them, and from each follow
// on the control describes the track that follows, not the one before. A seek while the second is
// handed over (read, not yet heard) is a seek in the first.
TEST_F(GstFollowTest, QueuedTracksFollowWithoutAGap)
{
    m_isPaced = true;
    const QString tones[] = {tone("first.wav", 441, 300, "artist=Bo,title=One"),
                             tone("second.wav", 882, 150),
                             tone("third.wav", 441, 20, "title=Three")};
    QStringList atFollow;
    QObject::connect(m_control.get(), &MediaControl::followed, [&](quint64 serial) {
        atFollow << QString("%1|%2|%3")
                        .arg(m_control->fileName(),
                             m_control->mediaInfoString(MediaControl::InfoTitle))
                        .arg(m_control->duration());
        if (serial == 2)
            m_control->queueNext(3, tones[2]);
    });
    ASSERT_TRUE(open(1, tones[0]));
    m_control->queueNext(2, tones[1]);
    m_control->play();
    const QByteArray second = QUrl::fromLocalFile(tones[1]).toEncoded();
    ASSERT_TRUE(
        playUntil("ended 1", [&] { return playingUriOf(GST_ELEMENT(m_sink.get())) == second; }));
    ASSERT_EQ(m_events, QStringList({"opened 1"}));
    m_control->setCurrentPosition(0.1);
    ASSERT_TRUE(playUntil("ended 3")) << m_events.join(", ").toStdString();
    EXPECT_EQ(m_events.filter(QRegularExpression("^(opened|followed|ended|failed)")),
              QStringList({"opened 1", "followed 2", "followed 3", "ended 3"}));
    // Each is told with its length and tags, and none of the one before.
    EXPECT_EQ(atFollow, QStringList({tones[1] + "||1.5", tones[2] + "|Three|0.2"}));
    EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoTitle), "Three");
    EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoAuthor), "");
    EXPECT_NEAR(m_control->duration(), 0.2, 0.001);
    EXPECT_NEAR(m_control->currentPosition(), 0.2, 0.001);
    // What the sink held before the seek's flush went; all from the seek on is heard.
    std::vector<float> expected = samplesOf(tones[0]);
    expected.erase(expected.begin(), expected.begin() + Rate / 10 * 2);
    for (const QString &path : {tones[1], tones[2]}) {
        const std::vector<float> samples = samplesOf(path);
        expected.insert(expected.end(), samples.begin(), samples.end());
    }
    const std::vector<float> heard = takeHeard();
    ASSERT_GE(heard.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.rbegin(), expected.rend(), heard.rbegin()));
}

// A queued track that cannot start leaves the playing one to play out whole, which then
// ends under its own serial; the caller opens the next one itself. The sink is paced, so
// that the queued track fails while the playing one is still heard.
TEST_F(GstFollowTest, QueuedTrackThatCannotStartEndsThePlayingOne)
{
    m_isPaced = true;
    const QString first = tone("first.wav", 441, 150);
    const QString pipe = m_folder.filePath("pipe.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString queued[] = {m_folder.filePath("missing.wav"),
                              writeFile(m_folder.filePath("text.wav"), "not a sound file\r\n"),
                              pipe, /* withdrawn */ ""};
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
        ASSERT_TRUE(playUntil(QString("ended %1").arg(playing)));
        EXPECT_EQ(m_events, QStringList({QString("opened %1").arg(playing),
                                         QString("ended %1").arg(playing)}));
        EXPECT_TRUE(takeHeard() == samplesOf(first));
    }
    // The reader stuck on the pipe is let go with its track.
    m_control->release();
    EXPECT_TRUE(GstTrack::waitForAllEnded(5000));
}

} // namespace
