#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <gtest/gtest.h>

#include "platform/gstmediacontrol.h"
#include "support/qtprinters.h"

// Real playback of audio files the tests encode themselves, heard through an appsink per
// track that keeps every sample it is given until the test takes it.

constexpr int Rate = 44100;

constexpr const char *Wav = "audio/x-raw,format=S16LE ! wavenc";
constexpr const char *Mp3 = "lamemp3enc target=bitrate cbr=true bitrate=128";
constexpr const char *Wma = "avenc_wmav2 bitrate=128000 ! avmux_asf";

// What tone() writes besides its length: a sine at half of full scale.
struct Tone
{
    int hertz = 441;
    int channels = 2;
    QString tags = {}; // as taginject reads them: "artist=Bo,title=One"
};

class GstPlayerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // GStreamer's leak tracer, the only tracer, keeps a list of the players' pipelines and
        // volume stages alive (the encoders of the tests' own files are not counted); it is
        // chosen before GStreamer starts, once for the whole program.
        g_setenv("GST_TRACERS", "leaks(filters=GstPlayBin,GstVolume)", TRUE);
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
        QObject::connect(m_control.get(), &MediaControl::failed,
                         [this](quint64, MediaControl::Failure reason) { m_lastFailure = reason; });
        QObject::connect(m_control.get(), &MediaControl::failed, record("failed"));
        QObject::connect(m_control.get(), &MediaControl::opened, record("opened"));
        QObject::connect(m_control.get(), &MediaControl::endOfStream, record("ended"));
        QObject::connect(m_control.get(), &MediaControl::followed, record("followed"));
        QObject::connect(m_control.get(), &MediaControl::durationChanged, record("length"));
    }

    // Adds a buffer the latest track's sink holds to what was heard, and its size to the
    // pieces; false without one.
    bool takeOne()
    {
        const std::lock_guard<std::mutex> lock(m_sinkMutex);
        g_autoptr(GstSample) sample =
            m_sink ? gst_app_sink_try_pull_sample(m_sink.get(), 0) : nullptr;
        GstBuffer *buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
        if (buffer)
            m_pieces.push_back(gst_buffer_get_size(buffer));
        const size_t start = m_heard.size();
        m_heard.resize(start + (buffer ? m_pieces.back() / sizeof(float) : 0));
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

    // `what` happened to the latest track.
    QString event(const char *what) const { return QString("%1 %2").arg(what).arg(m_serial); }
    // How many events match `pattern` whole.
    qsizetype count(const QString &pattern) const
    {
        return m_events.filter(QRegularExpression('^' + pattern + '$')).size();
    }
    // Takes what the sink holds, a buffer at a time, until an event matches `pattern` or
    // `until` comes true.
    bool waitFor(const QString &pattern, const std::function<bool()> &until = {},
                 int milliseconds = 10000)
    {
        return QTest::qWaitFor(
            [&] { return count(pattern) > 0 || (until && until()) || (takeOne(), false); },
            milliseconds);
    }

    // Opens `path` as the next track and waits for the answer: true when it opened.
    bool open(const QString &path)
    {
        m_control->open(++m_serial, path);
        return waitFor(event("(opened|failed)")) && count(event("opened")) == 1;
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
            bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        gst_element_set_state(pipeline, GST_STATE_NULL);
        EXPECT_TRUE(message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) << name.toStdString();
        return path;
    }
    // A tone `centiseconds` long, encoded by `encoder`.
    QString tone(const QString &name, int centiseconds, const char *encoder = Wav,
                 const Tone &shape = {})
    {
        return encode(name, QString("audiotestsrc wave=sine freq=%1 volume=0.5 num-buffers=%2 "
                                    "samplesperbuffer=441 ! audio/x-raw,rate=44100,channels=%3 ! "
                                    "taginject tags=\"%4\" ! %5")
                                .arg(shape.hertz)
                                .arg(centiseconds)
                                .arg(shape.channels)
                                .arg(shape.tags, encoder));
    }

    QTemporaryDir m_folder;
    bool m_isPaced = false;
    std::mutex m_sinkMutex;
    std::unique_ptr<GstAppSink, decltype(&gst_object_unref)> m_sink{nullptr, gst_object_unref};
    std::vector<float> m_heard;
    // The size in bytes of each buffer heard.
    std::vector<gsize> m_pieces;
    std::unique_ptr<GstMediaControl> m_control;
    quint64 m_serial = 0;
    QStringList m_events;
    MediaControl::Failure m_lastFailure = MediaControl::Failure::Missing;
};
