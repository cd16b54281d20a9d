#include "platform/gstmediacontrol.h"

#include <cmath>
#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <gtest/gtest.h>

// Real playback of audio files the tests encode themselves, heard through an appsink that
// counts frames and measures the level of each channel.

namespace {

constexpr int Rate = 44100;
// The test tone is a sine at half of full scale; its RMS is the level of unity gain.
const double UnityRms = 0.5 / std::sqrt(2.0);
const double FiftyDecibelsDown = std::pow(10.0, -2.5);

constexpr const char *Wav = "wavenc";
constexpr const char *Mp3 = "lamemp3enc target=bitrate cbr=true bitrate=128 ! id3v2mux name=tagger";
constexpr const char *Wma = "avenc_wmav2 bitrate=128000 ! avmux_asf";

// The ASF file with a content description object (UTF-16 title and artist) added at the end
// of its header object, whose size is at byte 16 and count of objects at byte 24.
QByteArray withAsfTags(QByteArray asf, const QString &artist, const QString &title)
{
    const auto utf16 = [](const QString &text) {
        return QByteArray(reinterpret_cast<const char *>(text.utf16()), (text.size() + 1) * 2);
    };
    const QByteArray texts = utf16(title) + utf16(artist);
    QByteArray object = QByteArray::fromHex("3326b2758e66cf11a6d900aa0062ce6c");
    QDataStream stream(&object, QIODevice::Append);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint64(34 + texts.size()) << quint16((title.size() + 1) * 2)
           << quint16((artist.size() + 1) * 2) << quint16(0) << quint16(0) << quint16(0);
    object += texts;
    const auto headerSize = qFromLittleEndian<quint32>(asf.constData() + 16);
    qToLittleEndian<quint32>(headerSize + object.size(), asf.data() + 16);
    qToLittleEndian<quint32>(qFromLittleEndian<quint32>(asf.constData() + 24) + 1, asf.data() + 24);
    return asf.insert(headerSize, object);
}

bool processEventsUntil(const std::function<bool()> &isDone, int milliseconds = 10000)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!isDone() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return isDone();
}

// Gives late messages time to arrive.
void settle()
{
    processEventsUntil([] { return false; }, 300);
}

class GstMediaControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        gst_init(nullptr, nullptr);
        ASSERT_TRUE(m_folder.isValid());
        useSink(false);
    }

    // A clocked sink plays in real time; an unclocked one takes the sound as fast as it comes.
    // Either keeps what it receives until drain() takes it.
    void useSink(bool isClocked)
    {
        m_control.reset();
        m_sink = gst_element_factory_make("appsink", nullptr);
        g_autoptr(GstCaps) caps = gst_caps_from_string("audio/x-raw,format=F32LE,channels=2");
        g_object_set(m_sink, "caps", caps, "sync", gboolean(isClocked), "wait-on-eos", FALSE,
                     nullptr);
        m_control = std::make_unique<GstMediaControl>(m_sink);
        m_ends = 0;
        QObject::connect(m_control.get(), &MediaControl::endOfStream, [this] { ++m_ends; });
    }

    void drain()
    {
        while (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(m_sink), 0)) {
            GstMapInfo map;
            ASSERT_TRUE(gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ));
            const auto *values = reinterpret_cast<const float *>(map.data);
            for (gsize index = 0; index < map.size / sizeof(float); ++index)
                m_squares[index % 2] += double(values[index]) * values[index];
            m_frames += qint64(map.size / sizeof(float) / 2);
            gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
            gst_sample_unref(sample);
        }
    }

    qint64 frames()
    {
        drain();
        return m_frames;
    }

    // The level of a channel heard since resetHeard(), as a gain on the tone.
    double gain(int channel)
    {
        drain();
        return m_frames == 0 ? 0 : std::sqrt(m_squares[channel] / m_frames) / UnityRms;
    }

    void resetHeard()
    {
        drain();
        m_frames = 0;
        m_squares[0] = m_squares[1] = 0;
    }

    // Runs `description ! filesink` into the named file, with artist and title given to an
    // element named "tagger" if there is one.
    QString encode(const QString &name, const QString &description, const char *artist = "",
                   const char *title = "")
    {
        const QString path = m_folder.filePath(name);
        const QString full = QString("%1 ! filesink location=\"%2\"").arg(description, path);
        g_autoptr(GstElement) pipeline = gst_parse_launch(full.toUtf8().constData(), nullptr);
        gst_object_ref_sink(pipeline);
        if (g_autoptr(GstElement) tagger = gst_bin_get_by_name(GST_BIN(pipeline), "tagger"))
            gst_tag_setter_add_tags(GST_TAG_SETTER(tagger), GST_TAG_MERGE_REPLACE, GST_TAG_ARTIST,
                                    artist, GST_TAG_TITLE, title, nullptr);
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        g_autoptr(GstBus) bus = gst_element_get_bus(pipeline);
        g_autoptr(GstMessage) message = gst_bus_timed_pop_filtered(
            bus, 20 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        gst_element_set_state(pipeline, GST_STATE_NULL);
        EXPECT_TRUE(message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) << name.toStdString();
        return path;
    }

    // A stereo 441 Hz sine at half of full scale, `centiseconds` long, encoded by `encoder`.
    QString tone(const QString &name, int centiseconds, const char *encoder,
                 const char *artist = "", const char *title = "")
    {
        return encode(name,
                      QString("audiotestsrc wave=sine freq=441 volume=0.5 samplesperbuffer=441 "
                              "num-buffers=%1 ! audio/x-raw,rate=44100,channels=2 ! %2")
                          .arg(centiseconds)
                          .arg(encoder),
                      artist, title);
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    bool playToEnd()
    {
        const int endsBefore = m_ends;
        m_control->play();
        return processEventsUntil([&] { return m_ends > endsBefore; });
    }

    QTemporaryDir m_folder;
    qint64 m_frames = 0;
    double m_squares[2] = {};
    // Owned by the control.
    GstElement *m_sink = nullptr;
    std::unique_ptr<GstMediaControl> m_control;
    int m_ends = 0;
};

TEST_F(GstMediaControlTest, RefusesFilesWithoutSound)
{
    const QString playable = tone("tone.wav", 50, Wav);
    for (const QString &path :
         {write("text.mp3", "not a sound file\r\n"), m_folder.filePath("missing.mp3"),
          encode("picture.png", "videotestsrc num-buffers=1 ! pngenc")}) {
        SCOPED_TRACE(path.toStdString());
        // A playable track first, so a failed open must also release it.
        m_control->setFileName(playable);
        m_control->setFileName(path);
        settle();
        EXPECT_EQ(m_control->fileName(), QString());
        EXPECT_EQ(m_control->duration(), 0.0);
        EXPECT_EQ(m_ends, 0);
    }
}

TEST_F(GstMediaControlTest, PlaysEachFormatWholeWithLengthAndTags)
{
    QFile wma(tone("plain.wma", 300, Wma));
    ASSERT_TRUE(wma.open(QIODevice::ReadOnly));
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
        {tone("tone.mp3", 300, Mp3, "王菲", "红豆"), 3.0, 0.1, "王菲", "红豆"},
        {write("tagged.wma", withAsfTags(wma.readAll(), "周杰伦 & Co.", "Title")), 3.0, 0.05,
         "周杰伦 & Co.", "Title"},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.path.toStdString());
        m_control->setFileName(entry.path);
        ASSERT_EQ(m_control->fileName(), entry.path);
        EXPECT_NEAR(m_control->duration(), entry.seconds, entry.tolerance);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoAuthor), entry.artist);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoTitle), entry.title);
        resetHeard();
        m_ends = 0;
        ASSERT_TRUE(playToEnd());
        settle();
        EXPECT_EQ(m_ends, 1);
        // A lossy codec adds a few hundredths of a second of silence around the sound.
        EXPECT_NEAR(frames(), entry.seconds * Rate, Rate / 20);
        EXPECT_NEAR(m_control->currentPosition(), m_control->duration(), 0.01);
    }
}

TEST_F(GstMediaControlTest, SeeksPausedAndPlayingAndPauseHoldsPosition)
{
    useSink(true);
    m_control->setFileName(tone("tone.wav", 300, Wav));
    m_control->pause();
    m_control->setCurrentPosition(1.0);
    EXPECT_NEAR(m_control->currentPosition(), 1.0, 0.001);
    m_control->play();
    ASSERT_TRUE(processEventsUntil([&] { return m_control->currentPosition() >= 1.3; }));
    m_control->pause();
    const double pausedAt = m_control->currentPosition();
    const qint64 framesHeard = frames();
    EXPECT_NEAR(framesHeard, (pausedAt - 1.0) * Rate, Rate / 10);
    settle();
    EXPECT_EQ(m_control->currentPosition(), pausedAt);
    EXPECT_EQ(frames(), framesHeard);

    m_control->play();
    ASSERT_TRUE(processEventsUntil([&] { return m_control->currentPosition() >= pausedAt + 0.1; }));
    resetHeard();
    m_control->setCurrentPosition(2.5);
    EXPECT_NEAR(m_control->currentPosition(), 2.5, 0.05);
    ASSERT_TRUE(playToEnd());
    EXPECT_NEAR(frames(), 0.5 * Rate, Rate / 10);
    settle();
    EXPECT_EQ(m_ends, 1);
}

TEST_F(GstMediaControlTest, EndOfReplacedTrackIsDropped)
{
    const QString first = tone("first.wav", 20, Wav);
    const QString second = tone("second.wav", 30, Wav);
    for (const QString &next : {second, first}) {
        SCOPED_TRACE(next.toStdString());
        m_control->setFileName(first);
        m_control->play();
        // The end is reached while the event loop does not run, so it waits in the queue.
        const QDeadlineTimer deadline(10000);
        while (resetHeard(), !gst_app_sink_is_eos(GST_APP_SINK(m_sink)) && !deadline.hasExpired())
            QThread::msleep(5);
        ASSERT_TRUE(gst_app_sink_is_eos(GST_APP_SINK(m_sink)));
        QThread::msleep(100);
        m_control->setFileName(next);
        settle();
        EXPECT_EQ(m_ends, 0);
    }
}

TEST_F(GstMediaControlTest, LevelsFollowVolumeBalanceAndMuteAcrossFiles)
{
    const QString first = tone("first.wav", 20, Wav);
    const QString second = tone("second.wav", 20, Wav);
    const struct
    {
        int volume;
        int balance;
        bool isMuted;
        double left;
        double right;
    } cases[] = {
        {-2000, 0, false, 0.1, 0.1},
        {0, -5000, false, 1, FiftyDecibelsDown},
        {0, 5000, false, FiftyDecibelsDown, 1},
        {0, 0, true, 0, 0},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(testing::Message() << entry.volume << " " << entry.balance);
        // Set before the first file, so they must also survive opening another.
        m_control->setVolume(entry.volume);
        m_control->setBalance(entry.balance);
        m_control->setMute(entry.isMuted);
        m_control->setFileName(first);
        m_control->setFileName(second);
        resetHeard();
        ASSERT_TRUE(playToEnd());
        EXPECT_EQ(m_control->volume(), entry.volume);
        EXPECT_EQ(frames(), Rate / 5);
        EXPECT_NEAR(gain(0), entry.left, entry.left * 0.02 + 1e-4);
        EXPECT_NEAR(gain(1), entry.right, entry.right * 0.02 + 1e-4);
    }
}

} // namespace
