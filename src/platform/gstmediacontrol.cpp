#include "platform/gstmediacontrol.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <utility>

#include <gst/audio/gstaudiodecoder.h>
#include <gst/base/gstbasesink.h>
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
// While a handover waits, how often the playing track's position is looked at: once it has
// not moved since the last look, the track has played out and the queued one did not start.
constexpr int HandoverCheckMs = 250;
// How long a follow waits at most for the length and tags of the track that follows.
constexpr int FollowDescriptionMs = 250;
// How much sound a decoder gathers before it hands it on. Every piece costs each thread
// behind the decoder a wake-up (the queue's, the sink's wait for its time), and a frame of
// MP3 is only 26 ms; in pieces of 100 ms the sound is the same, and playing costs about
// half the processor time.
constexpr gint64 DecodedPieceNs = 100 * GST_MSECOND;
// How long the end of the process waits for GStreamer's set-up on the warm-up thread; a first
// start builds the plugin registry then, which takes a few seconds at most.
constexpr int WarmUpEndWaitSeconds = 5;

// playbin's element-setup, for every element added to the pipeline or a bin inside it.
void gatherDecodedSound(GstElement *, GstElement *element, gpointer)
{
    if (GST_IS_AUDIO_DECODER(element))
        g_object_set(element, "min-latency", DecodedPieceNs, nullptr);
}

} // namespace

// Shared by the track's thread, its bus handler and the user-interface thread (which
// queues the next track in it); freed with the last of them.
struct GstMediaControl::TrackContext
{
    // A track of the caller's: its serial and path.
    struct Source
    {
        quint64 serial = 0;
        QString path;
    };

    TrackContext(GstMediaControl *owner, std::shared_ptr<GstTrack> opened)
        : link(owner->m_link), control(owner), track(std::move(opened)),
          output(owner->m_output), playing{track->serial(), track->path()}
    {}

    std::shared_ptr<ReceiverLink> link;
    GstMediaControl *control;
    std::shared_ptr<GstTrack> track;
    std::shared_ptr<OutputBox> output;
    mutable FirstError firstError;
    // The element that renders the sound; set and read by the track's thread.
    ElementPointer sink;

    // Under `mutex`: what plays, what is queued to follow it, what was handed to playbin
    // and has not started yet, and whether the track's thread is seeking (no handover
    // then: the seek would go to the track handed over).
    mutable std::mutex mutex;
    Source playing;
    std::optional<Source> queued;
    std::optional<Source> handedOver;
    bool isSeeking = false;

    quint64 serial() const
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return playing.serial;
    }
    bool isHandingOver() const
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return handedOver.has_value();
    }

    // From any thread: each runs its namesake on the user-interface thread, with the
    // serial of what plays.
    void postOpened(const TrackDescription &info) const
    {
        link->post(
            [control = control, serial = serial(), info] { control->onOpened(serial, info); });
    }
    void postFailed(Failure reason, const QString &detail) const
    {
        link->post([control = control, serial = serial(), reason, detail] {
            control->onTrackFailed(serial, reason, detail);
        });
    }
    void postEnded() const
    {
        link->post([control = control, serial = serial(), run = track->run()] {
            control->onEnded(serial, run);
        });
    }
};

GstMediaControl::Current::Current(std::shared_ptr<GstTrack> opened,
                                  std::shared_ptr<TrackContext> shared)
    : track(std::move(opened)), context(std::move(shared)), serial(track->serial()),
      path(track->path())
{}

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
    m_handoverTimer.setInterval(HandoverCheckMs);
    connect(&m_handoverTimer, &QTimer::timeout, this, &GstMediaControl::checkHandover);
}

void GstMediaControl::prepare()
{
    auto warmedUp = std::make_shared<std::promise<void>>();
    m_warmedUp = warmedUp->get_future().share();
    m_warmUp.add(
        [warmedUp] {
            initialiseGStreamer();
            warmedUp->set_value();
            return true;
        },
        [](bool) {});
}

GstMediaControl::~GstMediaControl()
{
    m_link->cut();
    dropCurrent();
    if (m_warmedUp.valid())
        m_warmedUp.wait_for(std::chrono::seconds(WarmUpEndWaitSeconds));
    GstTrack::waitForAllEnded(1000);
}

void GstMediaControl::open(quint64 serial, const QString &path)
{
    dropCurrent();
    auto track = std::make_shared<GstTrack>(serial, path);
    auto context = std::make_shared<TrackContext>(this, track);
    m_current.emplace(track, context);
    m_openTimer.start(OpenTimeoutMs);
    track->start([this, context] { return buildPipeline(context); });
    track->post([context](GstElement *pipeline) { preroll(pipeline, *context); });
}

// Once per process, on whichever thread comes first: the warm-up's, or a track's, which then
// waits for the warm-up to finish.
void GstMediaControl::initialiseGStreamer()
{
    static std::once_flag initialised;
    std::call_once(initialised, [] {
        gst_init(nullptr, nullptr);
        preferLeanMp3Decoder();
        loadTrackPlugins();
    });
}

GstElement *GstMediaControl::buildPipeline(const std::shared_ptr<TrackContext> &context)
{
    initialiseGStreamer();
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
    g_signal_connect(playbin, "element-setup", G_CALLBACK(gatherDecodedSound), nullptr);
    g_autoptr(GstBus) bus = gst_element_get_bus(playbin);
    using Shared = std::shared_ptr<TrackContext>;
    gst_bus_set_sync_handler(bus, onBusMessage, new Shared(context),
                             [](gpointer data) { delete static_cast<Shared *>(data); });
    g_signal_connect_data(
        playbin, "about-to-finish", G_CALLBACK(onAboutToFinish), new Shared(context),
        [](gpointer data, GClosure *) { delete static_cast<Shared *>(data); }, GConnectFlags(0));
    return playbin;
}

// The preroll already passes sound through the volume and the balance stage, so they are
// set before it, and again after it (with a flush that sends the prerolled sound through
// anew) if they changed meanwhile. A track retired meanwhile answers nothing.
void GstMediaControl::preroll(GstElement *pipeline, TrackContext &context)
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
            const TrackDescription info = describeTrack(pipeline);
            context.sink = info.sink;
            context.postOpened(info);
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
    TrackContext &context = **static_cast<std::shared_ptr<TrackContext> *>(data);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        onBusError(context, message);
        break;
    case GST_MESSAGE_EOS:
        onBusEndOfStream(context);
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        onBusDurationChanged(context);
        break;
    case GST_MESSAGE_STREAM_START:
        onBusStreamStart(context);
        break;
    case GST_MESSAGE_TAG:
        onBusTags(context, message);
        break;
    default:
        // State changes are awaited on the track's thread itself (see preroll()).
        break;
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}

// Noted as the track's first error too, for the preroll's answer (see FirstError). During a
// handover the error is the queued track's: the playing one plays out, and checkHandover()
// ends it.
void GstMediaControl::onBusError(const TrackContext &context, GstMessage *message)
{
    if (context.isHandingOver())
        return;
    g_autoptr(GError) error = nullptr;
    g_autofree gchar *debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    const Failure reason = failureOf(error);
    const QString detail = QString::fromUtf8(error->message);
    context.firstError.note(reason, detail);
    context.postFailed(reason, detail);
}

// Carries the seek run it ended, so that the end of a run a seek replaced is dropped. The
// parser has seen every frame now, so its length is the true one.
void GstMediaControl::onBusEndOfStream(const TrackContext &context)
{
    onBusDurationChanged(context);
    context.postEnded();
}

// The context outlives every command of its track: the bus handler holds it until the
// track's thread has stopped running commands.
void GstMediaControl::onBusDurationChanged(const TrackContext &context)
{
    context.track->post([&context](GstElement *pipeline) { askLength(pipeline, context); });
}

// The sink met a stream's start: at the preroll, after a seek that went back to the playing
// track, or the handed-over track's. That one now plays, unless the caller withdrew or
// replaced it meanwhile: then the playing track has ended, and the caller opens its next
// one itself.
void GstMediaControl::onBusStreamStart(TrackContext &context)
{
    std::optional<TrackContext::Source> next;
    quint64 previous = 0;
    {
        const std::lock_guard<std::mutex> lock(context.mutex);
        if (!context.handedOver)
            return;
        previous = context.playing.serial;
        next = std::exchange(context.handedOver, std::nullopt);
        context.playing = *next;
        if (context.queued && context.queued->serial == next->serial &&
            context.queued->path == next->path)
            context.queued.reset();
        else
            next.reset();
    }
    if (!next) {
        context.link->post([control = context.control, previous, run = context.track->run()] {
            control->onEnded(previous, run);
        });
        return;
    }
    context.link->post([control = context.control, previous, next = *next] {
        control->onFollowed(previous, next.serial, next.path);
    });
    context.track->post([&context, serial = next->serial](GstElement *pipeline) {
        const TrackDescription info = describeTrack(pipeline);
        context.link->post(
            [control = context.control, serial, info] { control->onDescribed(serial, info); });
    });
}

// The sink posts the tags of its stream in order with its data, so that they are the
// playing track's; other elements post them as they read them, the queued track's early.
void GstMediaControl::onBusTags(const TrackContext &context, GstMessage *message)
{
    if (!GST_IS_BASE_SINK(GST_MESSAGE_SRC(message)))
        return;
    g_autoptr(GstTagList) tags = nullptr;
    gst_message_parse_tag(message, &tags);
    const TrackTags texts = tagsOf(tags);
    if (texts.artist.isEmpty() && texts.title.isEmpty())
        return;
    context.link->post([control = context.control, serial = context.serial(), texts] {
        control->onTags(serial, texts.artist, texts.title);
    });
}

// On the streaming thread that read the playing track to its end. playbin opens the URI set
// here once this returns, on this same thread, and plays it after what it still holds of
// the playing one.
void GstMediaControl::onAboutToFinish(GstElement *pipeline, gpointer data)
{
    TrackContext &context = **static_cast<std::shared_ptr<TrackContext> *>(data);
    TrackContext::Source next;
    quint64 previous = 0;
    {
        const std::lock_guard<std::mutex> lock(context.mutex);
        // With a handover waiting, it is the track handed over that was read to its end:
        // the caller queues the one after it only once it is followed.
        if (!context.queued || context.handedOver || context.isSeeking ||
            context.track->isRetired())
            return;
        next = *context.queued;
        previous = context.playing.serial;
        context.handedOver = next;
    }
    context.track->addSource(next.path);
    context.link->post([control = context.control, previous, run = context.track->run()] {
        control->onHandedOver(previous, run);
    });
    g_object_set(pipeline, "uri", uriOf(next.path).constData(), nullptr);
}

// The sink answers for the stream that reaches it; while a handover waits the parsers may be
// the queued track's, so nothing is told then.
void GstMediaControl::askLength(GstElement *pipeline, const TrackContext &context)
{
    const quint64 serial = context.serial();
    if (context.isHandingOver())
        return;
    const double seconds = trackDuration(pipeline, context.sink.get());
    if (seconds > 0 && !context.isHandingOver() && context.serial() == serial)
        context.link->post(
            [control = context.control, serial, seconds] { control->onLength(serial, seconds); });
}

void GstMediaControl::release()
{
    dropCurrent();
}

void GstMediaControl::dropCurrent()
{
    m_openTimer.stop();
    m_stallTimer.stop();
    m_handoverTimer.stop();
    if (m_current)
        m_current->track->retire(m_pipeReleases);
    m_current.reset();
}

bool GstMediaControl::isCurrent(quint64 serial) const
{
    return m_current && m_current->serial == serial;
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
    announceFollow();
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
    announceFollow();
    m_current->hasEnded = true;
    updateTimers();
    emit endOfStream(serial);
}

void GstMediaControl::onSeekDone(quint64 serial, quint64 run)
{
    if (isCurrent(serial) && run == m_current->run)
        m_current->seekTarget.reset();
}

// Also asks for the length again: a parser announces a better estimate only when it has
// moved by a second.
void GstMediaControl::checkForStall()
{
    if (!m_current || !m_current->isOpen)
        return;
    m_current->track->post(
        [context = m_current->context](GstElement *pipeline) { askLength(pipeline, *context); });
    const double position = currentPosition();
    m_current->stalledChecks =
        position == m_current->lastPosition ? m_current->stalledChecks + 1 : 0;
    m_current->lastPosition = position;
    if (m_current->stalledChecks >= StalledChecksToFail)
        onTrackFailed(m_current->serial, Failure::TimedOut,
                      QStringLiteral("the source stopped delivering"));
}

void GstMediaControl::checkHandover()
{
    if (!m_current || !m_current->isHandedOver)
        return;
    const double position = currentPosition();
    if (position == m_handoverPosition)
        onEnded(m_current->serial, m_current->run);
    m_handoverPosition = position;
}

// The stall check runs while a track plays, the handover check while a handover waits too.
void GstMediaControl::updateTimers()
{
    const bool isPlaying = m_current && m_current->isPlaying && !m_current->hasEnded;
    if (!isPlaying)
        m_stallTimer.stop();
    else if (!m_stallTimer.isActive())
        m_stallTimer.start();
    if (!isPlaying || !m_current->isHandedOver) {
        m_handoverTimer.stop();
    } else if (!m_handoverTimer.isActive()) {
        m_handoverPosition = -1;
        m_handoverTimer.start();
    }
}

void GstMediaControl::onLength(quint64 serial, double seconds)
{
    if (!isCurrent(serial) || !m_current->isOpen || m_current->info.duration == seconds)
        return;
    m_current->info.duration = seconds;
    if (!m_current->isFollowPending)
        emit durationChanged(serial);
}

// Tags come in parts (one stream's, one the file's); a part leaves out what it lacks.
void GstMediaControl::onTags(quint64 serial, const QString &artist, const QString &title)
{
    if (!isCurrent(serial) || !m_current->isOpen)
        return;
    if (!artist.isEmpty())
        m_current->info.artist = artist;
    if (!title.isEmpty())
        m_current->info.title = title;
}

// A short track may be read to its end, and handed over, before it has opened.
void GstMediaControl::onHandedOver(quint64 serial, quint64 run)
{
    if (!isCurrent(serial) || m_current->hasEnded || run != m_current->run)
        return;
    m_current->isHandedOver = true;
    updateTimers();
}

// From here on the reports about what plays carry the serial of the track that follows. It
// is announced once the track's thread has told its length and tags (the sink meets them
// only after the stream's start); a report about it, or the timeout, announces it earlier.
void GstMediaControl::onFollowed(quint64 serial, quint64 next, const QString &path)
{
    if (!isCurrent(serial) || !m_current->isOpen || m_current->hasEnded)
        return;
    m_current->serial = next;
    m_current->path = path;
    m_current->isHandedOver = false;
    m_current->isFollowPending = true;
    m_current->info.duration = 0;
    m_current->info.artist.clear();
    m_current->info.title.clear();
    m_current->seekTarget.reset();
    m_current->lastPosition = -1;
    m_current->stalledChecks = 0;
    updateTimers();
    QTimer::singleShot(FollowDescriptionMs, this, [this, next] {
        if (isCurrent(next))
            announceFollow();
    });
}

void GstMediaControl::onDescribed(quint64 serial, const TrackDescription &info)
{
    if (!isCurrent(serial))
        return;
    onTags(serial, info.artist, info.title);
    if (info.duration > 0)
        onLength(serial, info.duration);
    announceFollow();
}

void GstMediaControl::announceFollow()
{
    if (m_current && std::exchange(m_current->isFollowPending, false))
        emit followed(m_current->serial);
}

QString GstMediaControl::fileName() const
{
    return m_current ? m_current->path : QString();
}

void GstMediaControl::queueNext(quint64 serial, const QString &path)
{
    if (!m_current)
        return;
    const std::lock_guard<std::mutex> lock(m_current->context->mutex);
    if (path.isEmpty())
        m_current->context->queued.reset();
    else
        m_current->context->queued = TrackContext::Source{serial, path};
}

void GstMediaControl::play()
{
    if (!m_current)
        return;
    m_current->track->post(
        [](GstElement *pipeline) { gst_element_set_state(pipeline, GST_STATE_PLAYING); });
    m_current->stalledChecks = 0;
    m_current->lastPosition = -1;
    m_current->isPlaying = true;
    m_stallTimer.stop();
    m_handoverTimer.stop();
    updateTimers();
}

void GstMediaControl::pause()
{
    if (!m_current)
        return;
    m_current->isPlaying = false;
    updateTimers();
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

// Not limited by the length: that may be a guess, and GStreamer ends a track sought past
// its end.
void GstMediaControl::setCurrentPosition(double seconds)
{
    if (!m_current)
        return;
    // Written so that NaN goes to 0.
    const double target = seconds > 0 ? seconds : 0.0;
    const quint64 run = ++m_current->run;
    m_current->seekTarget = target;
    m_current->hasEnded = false;
    m_current->isHandedOver = false;
    updateTimers();
    m_current->track->post([context = m_current->context, run, target](GstElement *pipeline) {
        seek(pipeline, *context, run, target);
    });
}

// On the track's thread. The seek's run starts before anything of it can end the track.
void GstMediaControl::seek(GstElement *pipeline, TrackContext &context, quint64 run, double target)
{
    context.track->setRun(run);
    std::optional<TrackContext::Source> handedOver;
    {
        const std::lock_guard<std::mutex> lock(context.mutex);
        context.isSeeking = true;
        handedOver = std::exchange(context.handedOver, std::nullopt);
    }
    // playbin has moved on to the track handed over and would seek in that one: the
    // playing track starts anew instead, paused until it stands at the target, and then
    // goes on in the state it was in.
    const GstState state = GST_STATE_TARGET(pipeline);
    if (handedOver) {
        gst_element_set_state(pipeline, GST_STATE_READY);
        QString path;
        {
            const std::lock_guard<std::mutex> lock(context.mutex);
            path = context.playing.path;
        }
        g_object_set(pipeline, "uri", uriOf(path).constData(), nullptr);
        gst_element_set_state(pipeline, GST_STATE_PAUSED);
        gst_element_get_state(pipeline, nullptr, nullptr, SeekSettleTimeout);
    }
    gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                            GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            std::llround(target * GST_SECOND));
    // The track is read from the target on now: its end may be handed over again.
    {
        const std::lock_guard<std::mutex> lock(context.mutex);
        context.isSeeking = false;
    }
    gst_element_get_state(pipeline, nullptr, nullptr, SeekSettleTimeout);
    if (handedOver && state == GST_STATE_PLAYING)
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
    context.link->post([control = context.control, serial = context.serial(), run] {
        control->onSeekDone(serial, run);
    });
    askLength(pipeline, context);
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
