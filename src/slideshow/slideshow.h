#pragma once

#include <functional>
#include <random>

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include "slideshow/transitionplan.h"

class PictureStage;
class Session;

// The full-screen slideshow: every PicShowSeconds seconds TimerPic's tick shows the next
// picture of the session's ListPic on the stage, brought in by a transition chosen at
// random. The timer runs only while the window is full screen, the run goes on and the
// list holds pictures; it follows the settings and the list as they change.
//
// One picture at a time. A picture is decoded and composed on a worker thread of the
// slideshow's own, so a large photo never holds up the window; the result comes back to
// the user-interface thread as a queued call with the serial of its request, and one whose
// serial is no longer current (the window left full screen, or the shutdown began) is
// dropped. A tick that falls due while a picture is on its way or its transition runs
// waits and runs when that transition ends, so two transitions never paint at once.
//
// A listed file that is missing, hidden, no regular file or no picture is reported with
// pictureRefused(); until the report is closed (reportClosed()), ticks do nothing, so
// reports never pile up, and the tick after it moves on past the refused entry.
class Slideshow : public QObject
{
    Q_OBJECT

public:
    // `secondsSinceMidnight` reads the time of day, on which the choice of transition
    // depends; `seed` starts the random generator of those choices.
    Slideshow(Session &session, PictureStage &stage, std::function<double()> secondsSinceMidnight,
              quint32 seed, QObject *parent = nullptr);
    // Waits for a picture being decoded, at most one.
    ~Slideshow() override;

    // The window entered (true) or left full screen. Leaving stops the timer, drops a
    // picture on its way and ends a running transition.
    void setFullScreen(bool fullScreen);
    // The shutdown began: the timer stops and nothing new is started. A running transition
    // stops by itself before its next piece, since the session's run has ended.
    void shutDown();

    // The tick: the entry after the one shown last, or the report that it is no picture.
    void ShowNextPicture();
    // Decodes the picture at `path`, composes it and starts its transition once it is
    // ready. Does nothing while another picture is on its way or its transition runs.
    void ShowPicture(const QString &path);


    const QTimer &timer() const { return TimerPic; }

public slots:
    // The stage's transition ended or stopped.
    void transitionEnded();
    // The user closed the report of a refused picture.
    void reportClosed();

signals:
    // The listed file `path` is missing or no picture (see above).
    void pictureRefused(const QString &path);

private:
    enum class Phase { Idle, Loading, Transition };

    void applyInterval();
    void updateTimer();
    void refuse(const QString &path);
    void pictureReady(quint64 serial, const std::optional<QImage> &composed);

    Session &m_session;
    PictureStage &m_stage;
    std::function<double()> m_secondsSinceMidnight;
    std::mt19937 m_generator;
    QTimer TimerPic;
    bool m_isFullScreen = false;
    bool m_isReportShown = false;
    bool m_isTickWaiting = false;
    Phase m_phase = Phase::Idle;
    // The serial of the picture request whose result is awaited.
    quint64 m_serial = 0;
    // The path and transition of that request.
    QString m_pendingPath;
    TransitionPlan m_pendingPlan;
    // Last member: destroyed first, so no worker outlives what it reports to.
    QThreadPool m_decoder;
};
