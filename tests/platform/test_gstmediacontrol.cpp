#include "platform/gstmediacontrol.h"

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <numbers>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <gtest/gtest.h>

#include "persist/textcodec.h"

// Real playback of audio files the tests write themselves, heard through a sink that
// records what reaches it: frames and the level of each channel.

namespace {

constexpr int Rate = 44100;
// Tones are a 441 Hz sine (a whole number of periods in every hundredth of a second) at half
// of full scale, so a channel at unity gain has this RMS.
constexpr double Amplitude = 0.5 * 32767 / 32768;
const double UnityRms = Amplitude / std::sqrt(2.0);

// The sink end of the pipeline. GStreamer calls it on its streaming thread.
class Capture
{
public:
    struct Summary
    {
        qint64 frames = 0;
        double leftGain = 0;
        double rightGain = 0;
    };

    // A clocked sink plays in real time; an unclocked one takes the sound as fast as it comes.
    explicit Capture(bool isClocked)
    {
        gst_init(nullptr, nullptr);
        m_sink = gst_element_factory_make("appsink", nullptr);
        g_autoptr(GstCaps) caps =
            gst_caps_from_string("audio/x-raw,format=F32LE,layout=interleaved,channels=2");
        g_object_set(m_sink, "caps", caps, "sync", gboolean(isClocked), nullptr);
        GstAppSinkCallbacks callbacks = {};
        callbacks.eos = [](GstAppSink *, gpointer self) {
            auto *capture = static_cast<Capture *>(self);
            std::lock_guard lock(capture->m_mutex);
            capture->m_hasEnded = true;
        };
        callbacks.new_preroll = [](GstAppSink *, gpointer self) {
            auto *capture = static_cast<Capture *>(self);
            std::lock_guard lock(capture->m_mutex);
            return capture->m_failAfterFrames == 0 ? GST_FLOW_ERROR : GST_FLOW_OK;
        };
        callbacks.new_sample = [](GstAppSink *sink, gpointer self) {
            return static_cast<Capture *>(self)->take(sink);
        };
        gst_app_sink_set_callbacks(GST_APP_SINK(m_sink), &callbacks, this, nullptr);
    }

    // The floating sink, for the control to take over.
    GstElement *sink() const { return m_sink; }

    Summary summary() const
    {
        std::lock_guard lock(m_mutex);
        if (m_frames == 0)
            return {};
        return {m_frames, std::sqrt(m_leftSquares / m_frames) / UnityRms,
                std::sqrt(m_rightSquares / m_frames) / UnityRms};
    }
    bool hasEnded() const
    {
        std::lock_guard lock(m_mutex);
        return m_hasEnded;
    }
    void reset()
    {
        std::lock_guard lock(m_mutex);
        m_frames = 0;
        m_leftSquares = m_rightSquares = 0;
        m_hasEnded = false;
    }
    // Makes the sink refuse data once it holds `frames` frames, as a failing output would;
    // with 0 it refuses already the first data of a track being opened.
    void failAfter(qint64 frames)
    {
        std::lock_guard lock(m_mutex);
        m_failAfterFrames = frames;
    }

private:
    GstFlowReturn take(GstAppSink *sink)
    {
        g_autoptr(GstSample) sample = gst_app_sink_pull_sample(sink);
        GstMapInfo map;
        if (!sample || !gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ))
            return GST_FLOW_ERROR;
        const auto *values = reinterpret_cast<const float *>(map.data);
        const qint64 frames = qint64(map.size / sizeof(float) / 2);
        std::lock_guard lock(m_mutex);
        for (qint64 frame = 0; frame < frames; ++frame) {
            m_leftSquares += double(values[2 * frame]) * values[2 * frame];
            m_rightSquares += double(values[2 * frame + 1]) * values[2 * frame + 1];
        }
        m_frames += frames;
        gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
        return m_failAfterFrames >= 0 && m_frames >= m_failAfterFrames ? GST_FLOW_ERROR
                                                                       : GST_FLOW_OK;
    }

    GstElement *m_sink = nullptr;
    mutable std::mutex m_mutex;
    qint64 m_frames = 0;
    double m_leftSquares = 0;
    double m_rightSquares = 0;
    bool m_hasEnded = false;
    qint64 m_failAfterFrames = -1;
};

void appendLittleEndian(QByteArray &bytes, quint32 value, int size)
{
    for (int index = 0; index < size; ++index)
        bytes.append(char(value >> (8 * index)));
}

void appendChunk(QByteArray &bytes, const char *id, const QByteArray &data)
{
    bytes.append(id, 4);
    appendLittleEndian(bytes, quint32(data.size()), 4);
    bytes.append(data);
    if (data.size() % 2 != 0)
        bytes.append('\0');
}

// A 16-bit PCM WAV file of the test tone on every channel, with RIFF INFO artist and title
// chunks holding the given bytes when they are not empty.
QByteArray wavBytes(int channels, double seconds, const QByteArray &artist = {},
                    const QByteArray &title = {})
{
    QByteArray format;
    appendLittleEndian(format, 1, 2);
    appendLittleEndian(format, quint32(channels), 2);
    appendLittleEndian(format, Rate, 4);
    appendLittleEndian(format, quint32(Rate * channels * 2), 4);
    appendLittleEndian(format, quint32(channels * 2), 2);
    appendLittleEndian(format, 16, 2);
    QByteArray samples;
    const int frames = int(std::lrint(seconds * Rate));
    for (int frame = 0; frame < frames; ++frame) {
        const auto value =
            qint16(std::lrint(32767 * 0.5 * std::sin(2 * std::numbers::pi * 441 * frame / Rate)));
        for (int channel = 0; channel < channels; ++channel)
            appendLittleEndian(samples, quint16(value), 2);
    }
    QByteArray info("INFO");
    if (!artist.isEmpty())
        appendChunk(info, "IART", artist + '\0');
    if (!title.isEmpty())
        appendChunk(info, "INAM", title + '\0');
    QByteArray body("WAVE");
    appendChunk(body, "fmt ", format);
    appendChunk(body, "data", samples);
    if (info.size() > 4)
        appendChunk(body, "LIST", info);
    QByteArray file;
    appendChunk(file, "RIFF", body);
    return file;
}

// Runs a GStreamer pipeline description whose last element is `filesink name=file` into
// `path`, with artist and title set on an element named "tagger" if there is one.
bool encode(const char *description, const QString &path, const char *artist = "",
            const char *title = "")
{
    g_autoptr(GstElement) pipeline = gst_parse_launch(description, nullptr);
    if (!pipeline)
        return false;
    gst_object_ref_sink(pipeline);
    g_autoptr(GstElement) file = gst_bin_get_by_name(GST_BIN(pipeline), "file");
    g_object_set(file, "location", QFile::encodeName(path).constData(), nullptr);
    if (g_autoptr(GstElement) tagger = gst_bin_get_by_name(GST_BIN(pipeline), "tagger"))
        gst_tag_setter_add_tags(GST_TAG_SETTER(tagger), GST_TAG_MERGE_REPLACE, GST_TAG_ARTIST,
                                artist, GST_TAG_TITLE, title, nullptr);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    g_autoptr(GstBus) bus = gst_element_get_bus(pipeline);
    g_autoptr(GstMessage) message = gst_bus_timed_pop_filtered(
        bus, 20 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_element_set_state(pipeline, GST_STATE_NULL);
    return message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
}

// Three seconds of the test tone as constant bit rate MP3 with an ID3v2 tag and no length
// header, so only the frames tell the length.
constexpr const char *Mp3Pipeline =
    "audiotestsrc wave=sine freq=441 volume=0.5 samplesperbuffer=441 num-buffers=300 ! "
    "audio/x-raw,rate=44100,channels=2 ! lamemp3enc target=bitrate cbr=true bitrate=128 ! "
    "id3v2mux name=tagger ! filesink name=file";
// The same three seconds as Windows Media Audio 2 in an ASF file; this muxer writes no tags.
constexpr const char *WmaPipeline =
    "audiotestsrc wave=sine freq=441 volume=0.5 samplesperbuffer=441 num-buffers=300 ! "
    "audio/x-raw,rate=44100,channels=2 ! avenc_wmav2 bitrate=128000 ! avmux_asf ! "
    "filesink name=file";
constexpr const char *PicturePipeline = "videotestsrc num-buffers=1 ! pngenc ! filesink name=file";

// The ASF file at `path` with a content description object, where Windows Media files keep
// artist and title as UTF-16, added at the end of its header.
QByteArray asfWithArtistAndTitle(const QString &path, const QString &artist, const QString &title)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray asf = file.readAll();
    if (asf.size() < 30)
        return {};
    const auto utf16 = [](const QString &text) {
        QByteArray bytes;
        for (const QChar unit : text + QChar(0))
            appendLittleEndian(bytes, unit.unicode(), 2);
        return bytes;
    };
    const QByteArray titleText = utf16(title);
    const QByteArray artistText = utf16(artist);
    QByteArray object = QByteArray::fromHex("3326b2758e66cf11a6d900aa0062ce6c");
    appendLittleEndian(object, quint32(24 + 10 + titleText.size() + artistText.size()), 4);
    object.append(4, '\0');
    appendLittleEndian(object, quint32(titleText.size()), 2);
    appendLittleEndian(object, quint32(artistText.size()), 2);
    object.append(6, '\0'); // no copyright, description or rating
    object.append(titleText + artistText);
    // The header object that opens the file has its 64-bit size at 16 and its count of
    // objects at 24.
    const auto headerSize = qFromLittleEndian<quint32>(asf.constData() + 16);
    const auto objects = qFromLittleEndian<quint32>(asf.constData() + 24);
    asf.insert(qsizetype(headerSize), object);
    qToLittleEndian<quint32>(headerSize + quint32(object.size()), asf.data() + 16);
    qToLittleEndian<quint32>(objects + 1, asf.data() + 24);
    return asf;
}

// Runs the event loop until `isDone` holds, for at most `milliseconds`; tells whether it holds.
bool processEventsUntil(const std::function<bool()> &isDone, int milliseconds = 10000)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!isDone()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// Gives late messages time to arrive.
void settle(int milliseconds = 300)
{
    processEventsUntil([] { return false; }, milliseconds);
}

class GstMediaControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        useSink(false);
    }

    void useSink(bool isClocked)
    {
        m_control.reset();
        m_capture = std::make_unique<Capture>(isClocked);
        m_control = std::make_unique<GstMediaControl>(m_capture->sink());
        m_ends = 0;
        QObject::connect(m_control.get(), &MediaControl::endOfStream, [this] { ++m_ends; });
    }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }

    // Plays the loaded track from where it stands to its end.
    bool playToEnd()
    {
        const int endsBefore = m_ends;
        m_control->play();
        return processEventsUntil([&] { return m_ends > endsBefore; });
    }

    QTemporaryDir m_folder;
    // Declared before the control, which holds the sink that calls into it.
    std::unique_ptr<Capture> m_capture;
    std::unique_ptr<GstMediaControl> m_control;
    int m_ends = 0;
};

TEST_F(GstMediaControlTest, OpensOnlyFilesWithSound)
{
    QDir(m_folder.path()).mkdir("folder");
    const QString picture = m_folder.filePath("picture.png");
    ASSERT_TRUE(encode(PicturePipeline, picture));
    const struct
    {
        const char *name;
        QString path;
        bool isPlayable;
    } cases[] = {
        {"wav", write("tone.wav", wavBytes(2, 0.5)), true},
        {"name with spaces, # and %", write("周 杰#伦 100%.wav", wavBytes(2, 0.5)), true},
        {"missing file", m_folder.filePath("missing.mp3"), false},
        {"text named mp3", write("text.mp3", "not a sound file at all\r\n"), false},
        {"empty wav", write("empty.wav", {}), false},
        {"folder", m_folder.filePath("folder"), false},
        {"picture without sound", picture, false},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        // A playable track first, so a failed open must also release it.
        m_control->setFileName(m_folder.filePath("tone.wav"));
        m_control->setFileName(entry.path);
        settle();
        EXPECT_EQ(m_control->fileName(), entry.isPlayable ? entry.path : QString());
        EXPECT_EQ(m_control->duration() > 0, entry.isPlayable);
        EXPECT_EQ(m_control->currentPosition(), 0.0);
        EXPECT_EQ(m_ends, 0) << "a failed open must not end a track";
    }
}

TEST_F(GstMediaControlTest, KnowsLengthRightAfterOpening)
{
    const QString mp3 = m_folder.filePath("tone.mp3");
    ASSERT_TRUE(encode(Mp3Pipeline, mp3));
    const QString wma = m_folder.filePath("tone.wma");
    ASSERT_TRUE(encode(WmaPipeline, wma));
    const struct
    {
        const char *name;
        QString path;
        double seconds;
        double tolerance;
    } cases[] = {
        {"stereo wav", write("stereo.wav", wavBytes(2, 1.5)), 1.5, 0.001},
        {"mono wav", write("mono.wav", wavBytes(1, 0.75)), 0.75, 0.001},
        {"mp3 without length header", mp3, 3.0, 0.1},
        {"wma", wma, 3.0, 0.05},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        m_control->setFileName(entry.path);
        EXPECT_NEAR(m_control->duration(), entry.seconds, entry.tolerance);
    }
}

TEST_F(GstMediaControlTest, ReadsArtistAndTitleInAnyEncoding)
{
    const QString mp3 = m_folder.filePath("tagged.mp3");
    ASSERT_TRUE(encode(Mp3Pipeline, mp3, "王菲", "红豆"));
    const QString latinMp3 = m_folder.filePath("latin.mp3");
    ASSERT_TRUE(encode(Mp3Pipeline, latinMp3, "The Artist & Co.", "Café (Live) 2/3"));
    const QString wma = m_folder.filePath("plain.wma");
    ASSERT_TRUE(encode(WmaPipeline, wma));
    const struct
    {
        const char *name;
        QString path;
        QString artist;
        QString title;
    } cases[] = {
        {"utf-8 info", write("utf8.wav", wavBytes(2, 0.1, "周杰伦", "晴天")), "周杰伦", "晴天"},
        {"gb18030 info",
         write("gb.wav", wavBytes(2, 0.1, encodeText("周杰伦"), encodeText("晴天"))), "周杰伦",
         "晴天"},
        {"ascii info", write("ascii.wav", wavBytes(2, 0.1, "Artist", "Title")), "Artist", "Title"},
        {"title only", write("title.wav", wavBytes(2, 0.1, {}, "Title")), "", "Title"},
        {"no tags", write("plain.wav", wavBytes(2, 0.1)), "", ""},
        {"mp3 id3v2", mp3, "王菲", "红豆"},
        {"mp3 id3v2 ascii and accented", latinMp3, "The Artist & Co.", "Café (Live) 2/3"},
        {"wma content description",
         write("tagged.wma", asfWithArtistAndTitle(wma, "周杰伦 & Co.", "Title")), "周杰伦 & Co.",
         "Title"},
        {"wma without tags", wma, "", ""},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        m_control->setFileName(entry.path);
        ASSERT_EQ(m_control->fileName(), entry.path);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoAuthor), entry.artist);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoTitle), entry.title);
        EXPECT_EQ(m_control->mediaInfoString(7), QString());
    }
}

TEST_F(GstMediaControlTest, PlaysWholeTrackAndEndsOnce)
{
    m_control->setFileName(write("tone.wav", wavBytes(2, 0.5)));
    ASSERT_TRUE(playToEnd());
    settle();
    EXPECT_EQ(m_ends, 1);
    EXPECT_EQ(m_capture->summary().frames, Rate / 2);
    EXPECT_NEAR(m_control->currentPosition(), 0.5, 0.01);

    // Played again from its start, the track ends again.
    m_control->setCurrentPosition(0);
    ASSERT_TRUE(playToEnd());
    settle();
    EXPECT_EQ(m_ends, 2);
    EXPECT_EQ(m_capture->summary().frames, Rate);
}

// A lossy codec adds a few hundredths of a second of silence around the sound.
TEST_F(GstMediaControlTest, PlaysCompressedTrackWholeAtItsLevel)
{
    const struct
    {
        const char *name;
        const char *pipeline;
        QString path;
        double gain;
    } cases[] = {
        // LAME's preset for 128 kbit/s scales the sound to 95 % before encoding.
        {"mp3", Mp3Pipeline, m_folder.filePath("tone.mp3"), 0.95},
        {"wma", WmaPipeline, m_folder.filePath("tone.wma"), 1},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        ASSERT_TRUE(encode(entry.pipeline, entry.path));
        m_control->setFileName(entry.path);
        ASSERT_EQ(m_control->fileName(), entry.path);
        m_capture->reset();
        m_ends = 0;
        ASSERT_TRUE(playToEnd());
        settle();
        EXPECT_EQ(m_ends, 1);
        const Capture::Summary heard = m_capture->summary();
        EXPECT_NEAR(heard.frames, 3 * Rate, Rate / 20);
        EXPECT_NEAR(heard.leftGain, entry.gain, 0.02);
        EXPECT_NEAR(heard.rightGain, entry.gain, 0.02);
        EXPECT_NEAR(m_control->currentPosition(), m_control->duration(), 0.01);
    }
}

TEST_F(GstMediaControlTest, EndOfReplacedTrackIsDropped)
{
    const QString first = write("first.wav", wavBytes(2, 0.2));
    const QString second = write("second.wav", wavBytes(2, 0.3));
    const struct
    {
        const char *name;
        std::function<void()> replace;
    } cases[] = {
        {"other file opened", [&] { m_control->setFileName(second); }},
        {"same file opened again", [&] { m_control->setFileName(first); }},
        {"track released", [&] { m_control->setFileName({}); }},
        {"stopped",
         [&] {
             m_control->pause();
             m_control->setCurrentPosition(0);
         }},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        m_ends = 0;
        m_control->setFileName(first);
        m_capture->reset();
        m_control->play();
        // The end is reached while the event loop does not run, so it waits in the queue.
        const QDeadlineTimer deadline(10000);
        while (!m_capture->hasEnded() && !deadline.hasExpired())
            QThread::msleep(5);
        ASSERT_TRUE(m_capture->hasEnded());
        QThread::msleep(100);
        entry.replace();
        settle();
        EXPECT_EQ(m_ends, 0);
    }
}

TEST_F(GstMediaControlTest, SeeksWithinTrack)
{
    m_control->setFileName(write("tone.wav", wavBytes(2, 1.0)));
    const struct
    {
        double requested;
        double expected;
    } cases[] = {
        {0.5, 0.5}, {0.25, 0.25}, {-1, 0}, {std::numeric_limits<double>::quiet_NaN(), 0}, {99, 1.0},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.requested);
        m_control->pause();
        m_control->setCurrentPosition(entry.requested);
        EXPECT_NEAR(m_control->currentPosition(), entry.expected, 0.001);
        m_capture->reset();
        ASSERT_TRUE(playToEnd());
        EXPECT_NEAR(m_capture->summary().frames, (1.0 - entry.expected) * Rate, Rate / 100);
    }
}

TEST_F(GstMediaControlTest, PauseHoldsPositionAndPlayResumes)
{
    useSink(true);
    m_control->setFileName(write("tone.wav", wavBytes(2, 3.0)));
    m_control->play();
    ASSERT_TRUE(processEventsUntil([&] { return m_control->currentPosition() >= 0.3; }));
    m_control->pause();
    const double pausedAt = m_control->currentPosition();
    const qint64 framesHeard = m_capture->summary().frames;
    settle();
    EXPECT_EQ(m_control->currentPosition(), pausedAt);
    EXPECT_EQ(m_capture->summary().frames, framesHeard);
    EXPECT_NEAR(framesHeard, pausedAt * Rate, Rate / 10);

    m_control->play();
    EXPECT_TRUE(processEventsUntil([&] { return m_control->currentPosition() >= pausedAt + 0.2; }));
    m_control->pause();
    EXPECT_EQ(m_ends, 0);
}

TEST_F(GstMediaControlTest, LevelsFollowVolumeBalanceAndMute)
{
    const QString stereo = write("stereo.wav", wavBytes(2, 0.2));
    const QString mono = write("mono.wav", wavBytes(1, 0.2));
    const double quarter = std::pow(10.0, -2.5); // 50 dB down
    const struct
    {
        const char *name;
        QString path;
        int volume;
        int balance;
        bool isMuted;
        int keptVolume;
        double left;
        double right;
    } cases[] = {
        {"loudest", stereo, 0, 0, false, 0, 1, 1},
        {"-6 dB", stereo, -600, 0, false, -600, 0.5012, 0.5012},
        {"-20 dB", stereo, -2000, 0, false, -2000, 0.1, 0.1},
        {"-30 dB", stereo, -3000, 0, false, -3000, 0.03162, 0.03162},
        {"above loudest", stereo, 500, 0, false, 0, 1, 1},
        {"below quietest", stereo, -20000, 0, false, -10000, 0, 0},
        {"full right", stereo, 0, 5000, false, 0, quarter, 1},
        {"full left", stereo, 0, -5000, false, 0, 1, quarter},
        {"beyond full right", stereo, 0, 9000, false, 0, quarter, 1},
        {"10 dB right", stereo, 0, 1000, false, 0, 0.3162, 1},
        {"20 dB left", stereo, 0, -2000, false, 0, 1, 0.1},
        {"volume and balance", stereo, -2000, 1000, false, -2000, 0.03162, 0.1},
        {"mono centre", mono, 0, 0, false, 0, 1, 1},
        {"mono full left", mono, 0, -5000, false, 0, 1, quarter},
        {"muted", stereo, -600, 0, true, -600, 0, 0},
        {"muted full left", stereo, 0, -5000, true, 0, 0, 0},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        // Set before opening: the settings belong to the control, not to the track.
        m_control->setVolume(entry.volume);
        m_control->setBalance(entry.balance);
        m_control->setMute(entry.isMuted);
        m_control->setFileName(entry.path);
        m_capture->reset();
        ASSERT_TRUE(playToEnd());
        const Capture::Summary heard = m_capture->summary();
        EXPECT_EQ(m_control->volume(), entry.keptVolume);
        EXPECT_EQ(heard.frames, Rate / 5);
        EXPECT_NEAR(heard.leftGain, entry.left, entry.left * 0.02 + 1e-4);
        EXPECT_NEAR(heard.rightGain, entry.right, entry.right * 0.02 + 1e-4);
    }
}

TEST_F(GstMediaControlTest, FailingOutputEndsTrackOnce)
{
    m_control->setFileName(write("tone.wav", wavBytes(2, 1.0)));
    m_capture->failAfter(1);
    m_control->play();
    EXPECT_TRUE(processEventsUntil([&] { return m_ends > 0; }));
    settle();
    EXPECT_EQ(m_ends, 1);
    EXPECT_LT(m_capture->summary().frames, Rate);
}

TEST_F(GstMediaControlTest, OutputFailingBeforeStartRejectsTrack)
{
    const QString path = write("tone.wav", wavBytes(2, 1.0));
    m_capture->failAfter(0);
    m_control->setFileName(path);
    settle();
    EXPECT_EQ(m_control->fileName(), QString());
    EXPECT_EQ(m_ends, 0);
}

TEST_F(GstMediaControlTest, ReleasedControlPlaysNothing)
{
    m_control->setFileName(write("tone.wav", wavBytes(2, 0.5, "Artist", "Title")));
    m_control->setFileName({});
    EXPECT_EQ(m_control->fileName(), QString());
    EXPECT_EQ(m_control->duration(), 0.0);
    EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoAuthor), QString());
    m_control->setCurrentPosition(0.2);
    m_control->play();
    settle();
    EXPECT_EQ(m_control->currentPosition(), 0.0);
    EXPECT_EQ(m_capture->summary().frames, 0);
    EXPECT_EQ(m_ends, 0);
}

} // namespace
