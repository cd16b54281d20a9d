#pragma once

#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>

#include <QString>
#include <QTimer>

#include "core/mediacontrol.h"
#include "core/workqueue.h"
#include "platform/gstpipeline.h"

class GstTrack;
class ReceiverLink;

// MediaControl on GStreamer: every track gets a playbin of its own that plays only sound,
// driven by a thread of its own (see GstTrack), so the user-interface thread never waits on
// a state change. The answers come back as queued calls carrying the track's serial.
//
// Threads, and how what they find reaches the user-interface thread:
// - The user-interface thread makes every public call. It only queues commands for the
//   current track's thread, and asks the current track's sink for the position, a query
//   that takes no stream lock and so returns at once even while the track's thread is stuck.
// - One thread per track (GstTrack): builds the pipeline, prerolls it (preroll()), runs the
//   commands queued (play, pause, seek, output settings), and at the end sets the pipeline
//   to NULL and frees it. It answers opened, failed and seek-done as calls queued through
//   the ReceiverLink, with the track's serial. It is not a WorkQueue: it must outlive its
//   track, to tear the pipeline down after the commands still queued were dropped, and its
//   end is awaited (at exit, and by a later track of the same source).
// - GStreamer's own threads of each pipeline (the streaming threads, and the track's
//   thread inside a state change) post bus messages. The synchronous bus handler,
//   onBusMessage(), has one handler per message type; each turns its message into a call
//   queued through the ReceiverLink with the track's serial, on the posting thread, without
//   waiting for anything, or into a command for the track's thread (a length to ask for).
//   A new message type is one more case and one more handler. A streaming thread also
//   emits playbin's about-to-finish, where the queued track is handed over (see below).
// - The WorkQueue m_pipeReleases lets go of a reader stuck on a retired track's named pipe,
//   one track at a time; nothing comes back from it.
// - The WorkQueue m_warmUp runs prepare(); a track's thread that needs GStreamer meanwhile
//   waits for it.
// Each answer is checked on arrival against the current track's serial (an end of stream
// also against its seek run), so one about a track already replaced is dropped here, and
// again by the core by its own serial.
//
// Following without a gap: when playbin has read the playing track to its end it emits
// about-to-finish, and the queued track (queueNext) becomes its next URI: the handover.
// The queued track really plays when the sink meets its stream start; from there the
// serial and path of what plays are the queued one's, on every thread, and the UI thread
// hears followed, with its length and tags as the track's thread finds them. A queued track that
// does not start (missing, not audio, a stalled source) leaves the playing one to play out: its
// errors are not the playing track's, and once the position stands still the playing track is
// reported ended, with its own serial. A seek during the handover goes back to the playing track
// (playbin would seek in the queued one). The length is asked for again on the track's thread when
// the parser announces a better one, after a seek, once a second while playing, and at the end: the
// one read after the preroll is a guess for a stream without an index.
class GstMediaControl : public MediaControl
{
    Q_OBJECT

public:
    // Makes the audio sink of one track, on that track's thread; it must return a new
    // element each time (a floating reference is taken over).
    using SinkFactory = std::function<GstElement *()>;

    // Without a factory the sound goes to the desktop's default output.
    explicit GstMediaControl(SinkFactory sinkFactory = {}, QObject *parent = nullptr);
    ~GstMediaControl() override;

    // Initialises GStreamer and loads the plugins every track needs on a worker, so that a
    // track opened soon after finds them ready; without it the first track does that itself.
    void prepare();
    void open(quint64 serial, const QString &path) override;
    void release() override;
    QString fileName() const override;
    void queueNext(quint64 serial, const QString &path) override;
    void play() override;
    void pause() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double duration() const override;
    int volume() const override;
    // Limited to -10000 … 0: louder than 0 would clip, and -100 dB is silence.
    void setVolume(int hundredthsOfDecibel) override;
    // Limited to -5000 … 5000.
    void setBalance(int balance) override;
    void setMute(bool muted) override;
    QString mediaInfoString(int code) const override;

private:
    // What a track's thread and its bus handler need to answer this object; they never
    // touch the object itself but through the link.
    struct TrackContext;

    // The user-interface thread's view of the current track.
    struct Current
    {
        Current(std::shared_ptr<GstTrack> opened, std::shared_ptr<TrackContext> shared);

        std::shared_ptr<GstTrack> track;
        std::shared_ptr<TrackContext> context;
        // What plays: the track's own at first, the queued one's after a follow.
        quint64 serial;
        QString path;
        bool isOpen = false;
        bool hasEnded = false;
        bool isPlaying = false;
        // The queued track was handed to playbin and has not started yet.
        bool isHandedOver = false;
        // The queued track plays, and followed is still to be emitted.
        bool isFollowPending = false;
        TrackDescription info;
        // The newest seek's run, and its target until it has taken effect.
        quint64 run = 0;
        std::optional<double> seekTarget;
        // For the stall check: where the track stood at the last check, and for how long.
        double lastPosition = -1;
        int stalledChecks = 0;
    };

    // The output settings as the tracks' threads read them; `version` grows with each
    // change.
    struct OutputBox
    {
        std::mutex mutex;
        OutputSettings settings{};
        quint64 version = 0;

        quint64 currentVersion();
    };

    // Initialises GStreamer and loads the plugins every track needs (see loadTrackPlugins()).
    static void initialiseGStreamer();
    // Runs on the track's thread.
    GstElement *buildPipeline(const std::shared_ptr<TrackContext> &context);
    // Runs on the track's thread: takes the pipeline to PAUSED and answers opened or failed.
    static void preroll(GstElement *pipeline, TrackContext &context);
    // The bus of a track's pipeline, on the thread that posted the message. Each handler
    // queues its answer; a message of another type is dropped.
    static GstBusSyncReply onBusMessage(GstBus *bus, GstMessage *message, gpointer data);
    static void onBusError(const TrackContext &context, GstMessage *message);
    static void onBusEndOfStream(const TrackContext &context);
    static void onBusDurationChanged(const TrackContext &context);
    static void onBusStreamStart(TrackContext &context);
    static void onBusTags(const TrackContext &context, GstMessage *message);
    // playbin's about-to-finish, on a streaming thread.
    static void onAboutToFinish(GstElement *pipeline, gpointer data);
    // Runs on the track's thread: asks for the length and answers with it.
    static void askLength(GstElement *pipeline, const TrackContext &context);
    static void seek(GstElement *pipeline, TrackContext &context, quint64 run, double target);

    // Stores volume, mute and balance for the tracks and queues them for the current one.
    void applyOutputSettings();
    static quint64 applyOutput(GstElement *pipeline, OutputBox &output);
    void onOpened(quint64 serial, const TrackDescription &info);
    void onTrackFailed(quint64 serial, Failure reason, const QString &detail);
    void onEnded(quint64 serial, quint64 run);
    void onSeekDone(quint64 serial, quint64 run);
    void onLength(quint64 serial, double seconds);
    void onTags(quint64 serial, const QString &artist, const QString &title);
    void onHandedOver(quint64 serial, quint64 run);
    void onFollowed(quint64 serial, quint64 next, const QString &path);
    void onDescribed(quint64 serial, const TrackDescription &info);
    void announceFollow();
    void checkForStall();
    // While a handover waits: the playing track has played out when its position stands.
    void checkHandover();
    void updateTimers();
    void dropCurrent();
    bool isCurrent(quint64 serial) const;

    SinkFactory m_sinkFactory;
    std::shared_ptr<ReceiverLink> m_link;
    std::shared_ptr<OutputBox> m_output = std::make_shared<OutputBox>();
    std::optional<Current> m_current;
    WorkQueue m_pipeReleases;
    WorkQueue m_warmUp;
    // Ready once the warm-up has ended: the process waits for it at its end, so that it never
    // exits while another thread is setting GStreamer up.
    std::shared_future<void> m_warmedUp;
    // Fails an open that takes too long; the track is retired, its thread left to finish.
    QTimer m_openTimer;
    // While the track plays, notices a source that has stopped delivering, and asks for a
    // better length.
    QTimer m_stallTimer;
    QTimer m_handoverTimer;
    double m_handoverPosition = -1;
    int m_volume = 0;
    int m_balance = 0;
    bool m_muted = false;
};
