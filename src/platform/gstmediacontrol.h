#pragma once

#include <atomic>
#include <memory>

#include <QString>

#include "core/mediacontrol.h"

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

// MediaControl on a GStreamer playbin that plays only sound. Opening waits (bounded) until
// the track is paused at its start, so duration and tags are known when setFileName()
// returns. The audio sink is chosen by the caller: the desktop's output in the program, a
// capturing sink in tests.
class GstMediaControl : public MediaControl
{
    Q_OBJECT

public:
    // `audioSink` receives the decoded sound; nullptr means the desktop's default output.
    // GStreamer itself starts when the first track is opened.
    // A floating reference is taken over; a caller's own reference stays the caller's.
    explicit GstMediaControl(GstElement *audioSink = nullptr, QObject *parent = nullptr);
    ~GstMediaControl() override;

    void setFileName(const QString &path) override;
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
    struct ObjectUnref
    {
        void operator()(GstElement *element) const;
    };
    using ElementPointer = std::unique_ptr<GstElement, ObjectUnref>;

    bool ensurePipeline();
    // Gives the pipeline the volume, mute and balance last set.
    void applyOutputSettings();
    bool load(const QString &path);
    void unload();
    // Waits (bounded) until a pause or a flushing seek has taken effect, so that the output
    // has stopped or restarted and currentPosition() reports the new place.
    void waitUntilSettled() const;
    // Runs on whichever thread posts the message.
    void routeBusMessage(GstMessage *message);
    void endRun(quint64 serial);

    ElementPointer m_pipeline;
    // The sink answers position queries itself, far cheaper than a query walking the
    // whole pipeline, which matters at a hundred queries a second.
    ElementPointer m_audioSink;
    // The balance stage inside the pipeline's audio filter; null when it could not be made.
    ElementPointer m_panorama;
    QString m_fileName;
    int m_volume = 0;
    int m_balance = 0;
    bool m_muted = false;
    // Each open and each seek starts a run with a new serial; end and error messages carry the
    // serial current when they were posted, so those of an earlier run are dropped.
    std::atomic<quint64> m_serial = 0;
    // The run whose end has been reported, so a run ends at most once.
    quint64 m_endedSerial = 0;
};
