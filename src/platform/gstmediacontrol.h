#pragma once

#include <functional>
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
//   waiting for anything. A new message type is one more case and one more handler.
// - The WorkQueue m_pipeReleases lets go of a reader stuck on a retired track's named pipe,
//   one track at a time; nothing comes back from it.
// Each answer is checked on arrival against the current track's serial (an end of stream
// also against its seek run), so one about a track already replaced is dropped here, and
// again by the core by its own serial.
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

    void open(quint64 serial, const QString &path) override;
    void release() override;
    QString fileName() const override;
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
    // The user-interface thread's view of the current track.
    struct Current
    {
        explicit Current(std::shared_ptr<GstTrack> opened) : track(std::move(opened)) {}

        std::shared_ptr<GstTrack> track;
        bool isOpen = false;
        bool hasEnded = false;
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

    // What a track's thread and its bus handler need to answer this object; they never
    // touch the object itself but through the link.
    struct TrackContext;

    // Runs on the track's thread.
    GstElement *buildPipeline(const std::shared_ptr<TrackContext> &context);
    // Runs on the track's thread: takes the pipeline to PAUSED and answers opened or failed.
    static void preroll(GstElement *pipeline, const TrackContext &context);
    // The bus of a track's pipeline, on the thread that posted the message. Each handler
    // queues its answer; a message of another type is dropped.
    static GstBusSyncReply onBusMessage(GstBus *bus, GstMessage *message, gpointer data);
    static void onBusError(const TrackContext &context, GstMessage *message);
    static void onBusEndOfStream(const TrackContext &context);

    // Stores volume, mute and balance for the tracks and queues them for the current one.
    void applyOutputSettings();
    static quint64 applyOutput(GstElement *pipeline, OutputBox &output);
    void onOpened(quint64 serial, const TrackDescription &info);
    void onTrackFailed(quint64 serial, Failure reason, const QString &detail);
    void onEnded(quint64 serial, quint64 run);
    void onSeekDone(quint64 serial, quint64 run);
    void checkForStall();
    void dropCurrent();
    bool isCurrent(quint64 serial) const;

    SinkFactory m_sinkFactory;
    std::shared_ptr<ReceiverLink> m_link;
    std::shared_ptr<OutputBox> m_output = std::make_shared<OutputBox>();
    std::optional<Current> m_current;
    WorkQueue m_pipeReleases;
    // Fails an open that takes too long; the track is retired, its thread left to finish.
    QTimer m_openTimer;
    // While the track plays, notices a source that has stopped delivering.
    QTimer m_stallTimer;
    int m_volume = 0;
    int m_balance = 0;
    bool m_muted = false;
};
