#include "platform/gstmediacontrol.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>

#include <QFileInfo>
#include <QUrl>

#include <gst/base/gstbaseparse.h>
#include <gst/gst.h>

// Threading: every public call runs on the user-interface thread. GStreamer posts bus
// messages from its streaming threads; a synchronous bus handler turns end-of-stream and
// error messages into queued calls on this object, each tagged with the serial of the run
// that was current when the message was posted. Only a message of the current run ends it,
// and a run ends once, so a track that was replaced or seeked never moves the playlist.
//
// Ordering: when a track is released the serial advances after the pipeline has stopped,
// so whatever the old track posted while stopping belongs to the old run. For a seek it
// advances before the seek, so the end of a seek to the track's end is never lost.

namespace {

constexpr GstClockTime OpenTimeout = 5 * GST_SECOND;
constexpr GstClockTime SettleTimeout = 2 * GST_SECOND;
constexpr int QuietestVolume = -10000;
constexpr int BalanceLimit = 5000;

void initialiseGstreamer()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Tag texts in a legacy 8-bit encoding (ID3v1, Latin-1 frames of ID3v2, RIFF INFO)
        // are code page 936 in the files of this player's users, and GB18030 reads those
        // bytes unchanged; valid UTF-8 is still read as UTF-8. A user's own choice of
        // encoding is kept.
        g_setenv("GST_TAG_ENCODING", "GB18030", FALSE);
        gst_init(nullptr, nullptr);
    });
}

// Gain factor of hundredths of a decibel.
double gainOf(int hundredthsOfDecibel)
{
    return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

// A parser of a stream without a length header (constant bit rate MP3 without a Xing frame,
// for one) reports the length only after about a second and a half of frames. It converts
// the stream's byte length to time from the frames it has seen so far, which is exact for a
// constant bit rate and a first estimate otherwise; the parser's own answer is used as soon
// as it gives one.
// Nanoseconds; -1 when no parser in the pipeline can tell.
gint64 parserDurationEstimate(GstElement *pipeline)
{
    gint64 result = -1;
    g_autoptr(GstIterator) elements = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue item = G_VALUE_INIT;
    while (result < 0 && gst_iterator_next(elements, &item) == GST_ITERATOR_OK) {
        GstElement *element = GST_ELEMENT(g_value_get_object(&item));
        if (GST_IS_BASE_PARSE(element)) {
            g_autoptr(GstPad) input = gst_element_get_static_pad(element, "sink");
            g_autoptr(GstPad) output = gst_element_get_static_pad(element, "src");
            gint64 bytes = 0;
            gint64 nanoseconds = 0;
            if (input && output && gst_pad_peer_query_duration(input, GST_FORMAT_BYTES, &bytes) &&
                gst_pad_query_convert(output, GST_FORMAT_BYTES, bytes, GST_FORMAT_TIME,
                                      &nanoseconds) &&
                nanoseconds > 0)
                result = nanoseconds;
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return result;
}

} // namespace

void GstMediaControl::ObjectUnref::operator()(GstElement *element) const
{
    gst_object_unref(element);
}

GstMediaControl::GstMediaControl(GstElement *audioSink, QObject *parent) : MediaControl(parent)
{
    // A sink handed over comes from a GStreamer that is initialised already.
    if (audioSink)
        m_audioSink.reset(GST_ELEMENT(gst_object_ref_sink(audioSink)));
}

// GStreamer and the pipeline are made when the first track is opened, so that the
// program's window is on the screen before the plugins load.
bool GstMediaControl::ensurePipeline()
{
    if (m_pipeline)
        return true;
    initialiseGstreamer();
    if (!m_audioSink) {
        if (GstElement *system = gst_element_factory_make("autoaudiosink", nullptr))
            m_audioSink.reset(GST_ELEMENT(gst_object_ref_sink(system)));
    }
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        return false;
    m_pipeline.reset(GST_ELEMENT(gst_object_ref_sink(playbin)));
    gst_util_set_object_arg(G_OBJECT(playbin), "flags", "audio+soft-volume");
    if (m_audioSink)
        g_object_set(playbin, "audio-sink", m_audioSink.get(), nullptr);

    // audioconvert lets sources of any channel layout reach the panorama stage, which takes
    // mono or stereo and always gives stereo.
    GstElement *filter = gst_parse_bin_from_description(
        "audioconvert ! audiopanorama name=panorama method=simple", TRUE, nullptr);
    if (filter) {
        m_panorama.reset(gst_bin_get_by_name(GST_BIN(filter), "panorama"));
        g_object_set(playbin, "audio-filter", filter, nullptr);
    }

    g_autoptr(GstBus) bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(
        bus,
        [](GstBus *, GstMessage *message, gpointer self) -> GstBusSyncReply {
            static_cast<GstMediaControl *>(self)->routeBusMessage(message);
            return GST_BUS_DROP;
        },
        this, nullptr);
    applyOutputSettings();
    return true;
}

void GstMediaControl::applyOutputSettings()
{
    g_object_set(m_pipeline.get(), "volume", gainOf(m_volume), "mute", gboolean(m_muted), nullptr);
    if (m_panorama) {
        // The simple panorama method scales the channel away from the pan direction by
        // 1 - |panorama| and passes the other one unchanged.
        const double reduction = 1.0 - gainOf(-std::abs(m_balance));
        g_object_set(m_panorama.get(), "panorama", gfloat(m_balance < 0 ? -reduction : reduction),
                     nullptr);
    }
}

GstMediaControl::~GstMediaControl()
{
    if (!m_pipeline)
        return;
    gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    g_autoptr(GstBus) bus = gst_element_get_bus(m_pipeline.get());
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
}

void GstMediaControl::setFileName(const QString &path)
{
    unload();
    if (path.isEmpty())
        return;
    if (load(path))
        m_fileName = path;
    else
        unload();
}

QString GstMediaControl::fileName() const
{
    return m_fileName;
}

void GstMediaControl::play()
{
    if (!m_fileName.isEmpty())
        gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING);
}

void GstMediaControl::pause()
{
    if (m_fileName.isEmpty())
        return;
    gst_element_set_state(m_pipeline.get(), GST_STATE_PAUSED);
    waitUntilSettled();
}

double GstMediaControl::currentPosition() const
{
    gint64 position = 0;
    GstElement *answering = m_audioSink ? m_audioSink.get() : m_pipeline.get();
    if (m_fileName.isEmpty() ||
        !gst_element_query_position(answering, GST_FORMAT_TIME, &position) || position < 0)
        return 0.0;
    return double(position) / GST_SECOND;
}

void GstMediaControl::setCurrentPosition(double seconds)
{
    if (m_fileName.isEmpty())
        return;
    // Written so that NaN goes to 0.
    const double target = seconds > 0 ? std::min(seconds, duration()) : 0.0;
    ++m_serial;
    gst_element_seek_simple(m_pipeline.get(), GST_FORMAT_TIME,
                            GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            std::llround(target * GST_SECOND));
    waitUntilSettled();
}

double GstMediaControl::duration() const
{
    if (m_fileName.isEmpty())
        return 0.0;
    gint64 length = -1;
    if (!gst_element_query_duration(m_pipeline.get(), GST_FORMAT_TIME, &length) || length < 0)
        length = parserDurationEstimate(m_pipeline.get());
    return length < 0 ? 0.0 : double(length) / GST_SECOND;
}

int GstMediaControl::volume() const
{
    return m_volume;
}

void GstMediaControl::setVolume(int hundredthsOfDecibel)
{
    m_volume = std::clamp(hundredthsOfDecibel, QuietestVolume, 0);
    if (m_pipeline)
        applyOutputSettings();
}

void GstMediaControl::setBalance(int balance)
{
    m_balance = std::clamp(balance, -BalanceLimit, BalanceLimit);
    if (m_pipeline)
        applyOutputSettings();
}

void GstMediaControl::setMute(bool muted)
{
    m_muted = muted;
    if (m_pipeline)
        applyOutputSettings();
}

QString GstMediaControl::mediaInfoString(int code) const
{
    const char *tag = code == InfoAuthor  ? GST_TAG_ARTIST
                      : code == InfoTitle ? GST_TAG_TITLE
                                          : nullptr;
    if (!tag || m_fileName.isEmpty())
        return {};
    gint stream = 0;
    g_object_get(m_pipeline.get(), "current-audio", &stream, nullptr);
    g_autoptr(GstTagList) tags = nullptr;
    g_signal_emit_by_name(m_pipeline.get(), "get-audio-tags", std::max(stream, 0), &tags);
    g_autofree gchar *text = nullptr;
    if (!tags || !gst_tag_list_get_string(tags, tag, &text))
        return {};
    return QString::fromUtf8(text);
}

bool GstMediaControl::load(const QString &path)
{
    if (!ensurePipeline())
        return false;
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    g_object_set(m_pipeline.get(), "uri", uri.constData(), nullptr);
    if (gst_element_set_state(m_pipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
        gst_element_get_state(m_pipeline.get(), nullptr, nullptr, OpenTimeout) !=
            GST_STATE_CHANGE_SUCCESS)
        return false;
    // A file with pictures but no sound prerolls as well.
    gint audioStreams = 0;
    g_object_get(m_pipeline.get(), "n-audio", &audioStreams, nullptr);
    return audioStreams > 0;
}

void GstMediaControl::waitUntilSettled() const
{
    gst_element_get_state(m_pipeline.get(), nullptr, nullptr, SettleTimeout);
}

void GstMediaControl::unload()
{
    if (m_pipeline)
        gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    ++m_serial;
    m_fileName.clear();
}

void GstMediaControl::routeBusMessage(GstMessage *message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ERROR: {
        // An error stops the stream for good, so it ends the run like the end of the track.
        const quint64 serial = m_serial.load();
        QMetaObject::invokeMethod(
            this, [this, serial] { endRun(serial); }, Qt::QueuedConnection);
        break;
    }
    default:
        break;
    }
}

void GstMediaControl::endRun(quint64 serial)
{
    if (serial != m_serial.load() || serial == m_endedSerial)
        return;
    m_endedSerial = serial;
    emit endOfStream();
}
