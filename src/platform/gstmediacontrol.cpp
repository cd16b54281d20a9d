#include "platform/gstmediacontrol.h"

#include <algorithm>
#include <mutex>

#include <gst/gst.h>

#include "core/receiverlink.h"
#include "platform/gstpipeline.h"
#include "platform/gsttrack.h"

// The first error a track's pipeline reported. The bus handler reports it at once; the
// track's thread, which finds a failed preroll later, reports it again rather than a reason
// of its own, so the real reason reaches the log whichever answer comes first.
class FirstError
{
public:
    void note(MediaControl::Failure reason, const QString &detail)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_detail)
            m_reason = reason, m_detail = detail;
    }
    std::pair<MediaControl::Failure, QString> orElse(MediaControl::Failure reason,
                                                     const QString &detail)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_detail ? std::pair(m_reason, *m_detail) : std::pair(reason, detail);
    }

private:
    std::mutex m_mutex;
    MediaControl::Failure m_reason = MediaControl::Failure::NotAudio;
    std::optional<QString> m_detail;
};

namespace {

constexpr int QuietestVolume = -10000;
constexpr int BalanceLimit = 5000;
// How long a track's thread waits at most for a flushing seek to take effect.
constexpr GstClockTime SeekSettleTimeout = 2 * GST_SECOND;
// How often the track's thread looks whether it was retired while waiting for a preroll.
constexpr GstClockTime PrerollPoll = 50 * GST_MSECOND;
// A playing track whose position has not moved for this many checks, one a second, has a
// source that stopped delivering.
constexpr int StallCheckMs = 1000;
constexpr int StalledChecksToFail = 5;

} // namespace

// Shared by the track's thread and its bus handler; freed with the last of them.
struct GstMediaControl::TrackContext
{
    TrackContext(GstMediaControl *owner, std::shared_ptr<GstTrack> opened)
        : link(owner->m_link), control(owner), track(std::move(opened)), output(owner->m_output)
    {}

    std::shared_ptr<ReceiverLink> link;
    GstMediaControl *control;
    std::shared_ptr<GstTrack> track;
    std::shared_ptr<OutputBox> output;
    mutable FirstError firstError;

    // From any thread: each runs its namesake on the user-interface thread, with the
    // track's serial.
    void postOpened(const TrackDescription &info) const
    {
        link->post([control = control, serial = track->serial(), info] {
            control->onOpened(serial, info);
        });
    }
    void postFailed(Failure reason, const QString &detail) const
    {
        link->post([control = control, serial = track->serial(), reason, detail] {
            control->onTrackFailed(serial, reason, detail);
        });
    }
    void postEnded() const
    {
        link->post([control = control, serial = track->serial(), run = track->run()] {
            control->onEnded(serial, run);
        });
    }
};

GstMediaControl::GstMediaControl(SinkFactory sinkFactory, QObject *parent)
    : MediaControl(parent), m_sinkFactory(std::move(sinkFactory)),
      m_link(ReceiverLink::create(this))
{
    // Tag texts in a legacy 8-bit encoding (ID3v1, Latin-1 frames of ID3v2, RIFF INFO) are
    // read as ISO-8859-1, which keeps every byte as one character, so that reading the tags
    // can tell code page 936 from Latin-1 per text (legacyTagText); without it GStreamer
    // falls back to Windows-1252, which refuses some of code page 936's bytes. Valid UTF-8 is
    // still read as UTF-8, and a user's own choice is kept. Set here, before any thread of
    // ours reads the environment.
    g_setenv("GST_TAG_ENCODING", "ISO-8859-1", FALSE);
    m_openTimer.setSingleShot(true);
    connect(&m_openTimer, &QTimer::timeout, this, [this] {
        if (m_current && !m_current->isOpen)
            onTrackFailed(m_current->track->serial(), Failure::TimedOut,
                          QStringLiteral("no answer within %1 s").arg(OpenTimeoutMs / 1000));
    });
    applyOutputSettings();
    m_stallTimer.setInterval(StallCheckMs);
    connect(&m_stallTimer, &QTimer::timeout, this, &GstMediaControl::checkForStall);
}

GstMediaControl::~GstMediaControl()
{
    m_link->cut();
    dropCurrent();
    GstTrack::waitForAllEnded(1000);
}

void GstMediaControl::open(quint64 serial, const QString &path)
{
    dropCurrent();
    auto track = std::make_shared<GstTrack>(serial, path);
    m_current.emplace(track);
    m_openTimer.start(OpenTimeoutMs);
    auto context = std::make_shared<TrackContext>(this, track);
    track->start([this, context] { return buildPipeline(context); });
    track->post([context](GstElement *pipeline) { preroll(pipeline, *context); });
}

// GStreamer starts with the first track, so that the window is on the screen before the
// plugins load.
GstElement *GstMediaControl::buildPipeline(const std::shared_ptr<TrackContext> &context)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] {
        gst_init(nullptr, nullptr);
        preferLeanMp3Decoder();
    });
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        return nullptr;
    gst_object_ref_sink(playbin);
    // Without playbin's own soft volume: playsink does not release the volume element it adds
    // for it (GStreamer 1.22), about 4 KB per track. The output stage brings its own.
    gst_util_set_object_arg(G_OBJECT(playbin), "flags", "audio");
    if (GstElement *output = outputStage(
            m_sinkFactory ? m_sinkFactory() : gst_element_factory_make("autoaudiosink", nullptr)))
        g_object_set(playbin, "audio-sink", output, nullptr);
    g_object_set(playbin, "uri", uriOf(context->track->path()).constData(), nullptr);
    g_autoptr(GstBus) bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(
        bus, onBusMessage, new std::shared_ptr<TrackContext>(context),
        [](gpointer data) { delete static_cast<std::shared_ptr<TrackContext> *>(data); });
    return playbin;
}

// The preroll already passes sound through the volume and the balance stage, so they are
// set before it, and again after it (with a flush that sends the prerolled sound through
// anew) if they changed meanwhile. A track retired meanwhile answers nothing.
void GstMediaControl::preroll(GstElement *pipeline, const TrackContext &context)
{
    const quint64 applied = applyOutput(pipeline, *context.output);
    if (gst_element_set_state(pipeline, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE) {
        GstStateChangeReturn result;
        do {
            result = gst_element_get_state(pipeline, nullptr, nullptr, PrerollPoll);
        } while (result == GST_STATE_CHANGE_ASYNC && !context.track->isRetired());
        if (result == GST_STATE_CHANGE_ASYNC)
            return;
        gint audioStreams = 0;
        g_object_get(pipeline, "n-audio", &audioStreams, nullptr);
        if (result != GST_STATE_CHANGE_FAILURE && audioStreams > 0) {
            if (context.output->currentVersion() != applied) {
                applyOutput(pipeline, *context.output);
                gst_element_seek_simple(pipeline, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0);
                gst_element_get_state(pipeline, nullptr, nullptr, SeekSettleTimeout);
            }
            context.postOpened(describeTrack(pipeline));
            return;
        }
    }
    const auto [reason, detail] =
        context.firstError.orElse(Failure::NotAudio, QStringLiteral("no sound"));
    context.postFailed(reason, detail);
}

// A handler that drops a message owns it. Every message refers to the element that posted
// it, the pipeline among them, so one left behind keeps the whole pipeline with its threads
// and file descriptors alive.
GstBusSyncReply GstMediaControl::onBusMessage(GstBus *, GstMessage *message, gpointer data)
{
    const TrackContext &context = **static_cast<std::shared_ptr<TrackContext> *>(data);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        onBusError(context, message);
        break;
    case GST_MESSAGE_EOS:
        onBusEndOfStream(context);
        break;
    default:
        // State changes are awaited on the track's thread itself (see preroll()).
        break;
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}

// Noted as the track's first error too, for the preroll's answer (see FirstError).
void GstMediaControl::onBusError(const TrackContext &context, GstMessage *message)
{
    g_autoptr(GError) error = nullptr;
    g_autofree gchar *debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    const Failure reason = failureOf(error);
    const QString detail = QString::fromUtf8(error->message);
    context.firstError.note(reason, detail);
    context.postFailed(reason, detail);
}

// Carries the seek run it ended, so that the end of a run a seek replaced is dropped.
void GstMediaControl::onBusEndOfStream(const TrackContext &context)
{
    context.postEnded();
}

void GstMediaControl::release()
{
    dropCurrent();
}

void GstMediaControl::dropCurrent()
{
    m_openTimer.stop();
    m_stallTimer.stop();
    if (m_current)
        m_current->track->retire(m_pipeReleases);
    m_current.reset();
}

bool GstMediaControl::isCurrent(quint64 serial) const
{
    return m_current && m_current->track->serial() == serial;
}

void GstMediaControl::onOpened(quint64 serial, const TrackDescription &info)
{
    if (!isCurrent(serial) || m_current->isOpen)
        return;
    m_openTimer.stop();
    m_current->isOpen = true;
    m_current->info = info;
    emit opened(serial);
}

void GstMediaControl::onTrackFailed(quint64 serial, Failure reason, const QString &detail)
{
    if (!isCurrent(serial) || m_current->hasEnded)
        return;
    // Before it has opened, a file whose stream breaks off holds no sound that can be
    // decoded: a picture's data flow stops for want of a video output, for one.
    const bool hadOpened = m_current->isOpen;
    dropCurrent();
    emit failed(serial, reason == Failure::CannotDecode && !hadOpened ? Failure::NotAudio : reason,
                detail);
}

void GstMediaControl::onEnded(quint64 serial, quint64 run)
{
    if (!isCurrent(serial) || !m_current->isOpen || m_current->hasEnded || run != m_current->run)
        return;
    m_current->hasEnded = true;
    m_stallTimer.stop();
    emit endOfStream(serial);
}

void GstMediaControl::onSeekDone(quint64 serial, quint64 run)
{
    if (isCurrent(serial) && run == m_current->run)
        m_current->seekTarget.reset();
}

void GstMediaControl::checkForStall()
{
    if (!m_current || !m_current->isOpen)
        return;
    const double position = currentPosition();
    m_current->stalledChecks =
        position == m_current->lastPosition ? m_current->stalledChecks + 1 : 0;
    m_current->lastPosition = position;
    if (m_current->stalledChecks >= StalledChecksToFail)
        onTrackFailed(m_current->track->serial(), Failure::TimedOut,
                      QStringLiteral("the source stopped delivering"));
}

QString GstMediaControl::fileName() const
{
    return m_current ? m_current->track->path() : QString();
}

void GstMediaControl::play()
{
    if (!m_current)
        return;
    m_current->track->post(
        [](GstElement *pipeline) { gst_element_set_state(pipeline, GST_STATE_PLAYING); });
    m_current->stalledChecks = 0;
    m_current->lastPosition = -1;
    if (!m_current->hasEnded)
        m_stallTimer.start();
}

void GstMediaControl::pause()
{
    if (!m_current)
        return;
    m_stallTimer.stop();
    m_current->track->post(
        [](GstElement *pipeline) { gst_element_set_state(pipeline, GST_STATE_PAUSED); });
}

double GstMediaControl::currentPosition() const
{
    if (!m_current || !m_current->isOpen)
        return 0.0;
    if (m_current->seekTarget)
        return *m_current->seekTarget;
    gint64 position = 0;
    if (!m_current->info.sink ||
        !gst_element_query_position(m_current->info.sink.get(), GST_FORMAT_TIME, &position) ||
        position < 0)
        return 0.0;
    return double(position) / GST_SECOND;
}

void GstMediaControl::setCurrentPosition(double seconds)
{
    if (!m_current)
        return;
    // Written so that NaN goes to 0. The length is not known before the track has opened;
    // GStreamer then limits the seek itself.
    double target = seconds > 0 ? seconds : 0.0;
    if (m_current->isOpen)
        target = std::min(target, m_current->info.duration);
    const quint64 run = ++m_current->run;
    m_current->seekTarget = target;
    m_current->hasEnded = false;
    m_current->track->post(
        [link = m_link, this, track = m_current->track, run, target](GstElement *pipeline) {
            track->setRun(run);
            gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                    GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                    std::llround(target * GST_SECOND));
            gst_element_get_state(pipeline, nullptr, nullptr, SeekSettleTimeout);
            link->post([this, serial = track->serial(), run] { onSeekDone(serial, run); });
        });
}

double GstMediaControl::duration() const
{
    return m_current && m_current->isOpen ? m_current->info.duration : 0.0;
}

int GstMediaControl::volume() const
{
    return m_volume;
}

void GstMediaControl::setVolume(int hundredthsOfDecibel)
{
    m_volume = std::clamp(hundredthsOfDecibel, QuietestVolume, 0);
    applyOutputSettings();
}

void GstMediaControl::setBalance(int balance)
{
    m_balance = std::clamp(balance, -BalanceLimit, BalanceLimit);
    applyOutputSettings();
}

void GstMediaControl::setMute(bool muted)
{
    m_muted = muted;
    applyOutputSettings();
}

void GstMediaControl::applyOutputSettings()
{
    {
        const std::lock_guard<std::mutex> lock(m_output->mutex);
        m_output->settings = outputSettingsOf(m_volume, m_balance, m_muted);
        ++m_output->version;
    }
    if (m_current)
        m_current->track->post(
            [output = m_output](GstElement *pipeline) { applyOutput(pipeline, *output); });
}

// Runs on a track's thread. Returns the version applied.
quint64 GstMediaControl::applyOutput(GstElement *pipeline, OutputBox &output)
{
    OutputSettings settings;
    quint64 version;
    {
        const std::lock_guard<std::mutex> lock(output.mutex);
        settings = output.settings;
        version = output.version;
    }
    ::applyOutputSettings(pipeline, settings);
    return version;
}

quint64 GstMediaControl::OutputBox::currentVersion()
{
    const std::lock_guard<std::mutex> lock(mutex);
    return version;
}

QString GstMediaControl::mediaInfoString(int code) const
{
    if (!m_current || !m_current->isOpen)
        return {};
    return code == InfoAuthor  ? m_current->info.artist
           : code == InfoTitle ? m_current->info.title
                               : QString();
}
