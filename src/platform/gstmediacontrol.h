#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include <QString>
#include <QTimer>

#include "core/mediacontrol.h"
#include "platform/gstpipeline.h"

class FirstError;
class GstTrack;
class ReceiverLink;

// MediaControl on GStreamer: every track gets a playbin of its own that plays only sound,
// driven by a thread of its own (see GstTrack), so the user-interface thread never waits on
// a state change. The answers come back as queued calls carrying the track's serial.
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

    GstElement *buildPipeline(const std::shared_ptr<GstTrack> &track,
                              const std::shared_ptr<FirstError> &firstError);
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
    // Fails an open that takes too long; the track is retired, its thread left to finish.
    QTimer m_openTimer;
    // While the track plays, notices a source that has stopped delivering.
    QTimer m_stallTimer;
    int m_volume = 0;
    int m_balance = 0;
    bool m_muted = false;
};
