#pragma once

#include <functional>
#include <random>

#include <QObject>
#include <QSet>
#include <QTimer>

#include "core/workqueue.h"
#include "slideshow/picshow.h"

class PictureStage;
class Session;

// The full-screen slideshow: every PicShowSeconds seconds TimerPic's tick shows the next
// picture of the session's ListPic on the stage, brought in by a transition chosen at
// random. The timer runs only while the window is full screen, the run goes on and the
// list holds pictures; it follows the settings and the list as they change.
//
// One picture at a time. Whatever touches the disk (is the entry a picture file, decoding)
// and the composing run on the slideshow's worker (see WorkQueue), so neither a large photo
// nor a stalled mount holds up the window; the result comes back to the user-interface
// thread with the serial of its request, and one whose serial is no longer current (the
// window left full screen, the shutdown began, the picture was given up) is dropped. The
// transition's effect and plan are drawn when a picture file's result comes back (the plan
// for the size it was composed for), so the random draws follow the picture files shown, as
// when the check was made at the tick. A tick that falls due while a picture is on its way
// or its transition runs waits and runs when that transition ends, so two transitions never
// paint at once.
//
// A picture still on its way at a tick after whole tick intervals worth
// StalledPictureSeconds (counted from the first tick after it was asked for) is given up
// and refused (below), so a mount that stops answering shows
// a report instead of stopping the show silently. The worker's thread may stay stuck in
// it: the pictures after it wait behind it and are given up the same way.
//
// A listed file that is missing, hidden, no regular file or no picture is reported with
// pictureRefused() and the show goes on: the next tick moves on past it, whether or not the
// user has read the report. Each refused entry is reported once while the list stays as it
// is (it is tried again on every round, and shown if it has become a picture), so a list
// of bad entries does not pile up reports; a new list is reported afresh.
class Slideshow : public QObject
{
    Q_OBJECT

public:
    // `secondsSinceMidnight` reads the time of day, on which the choice of transition
    // depends; `seed` starts the random generator of those choices.
    Slideshow(Session &session, PictureStage &stage, std::function<double()> secondsSinceMidnight,
              quint32 seed, QObject *parent = nullptr);
    // Never waits: a picture being read is left to the worker, and its result dropped.
    ~Slideshow() override;

    static constexpr int StalledPictureSeconds = 30;

    // The window entered (true) or left full screen. Leaving stops the timer, drops a
    // picture on its way and ends a running transition.
    void setFullScreen(bool fullScreen);
    // The shutdown began: the timer stops and nothing new is started. A running transition
    // stops by itself before its next piece, since the session's run has ended.
    void shutDown();

    // The tick: the entry after the one shown last, or the report that it is no picture.
    void ShowNextPicture();
    // Reads the picture at `path` on the worker, composes it and starts its transition once
    // it is ready, or refuses it. Does nothing while another picture is on its way or its
    // transition runs.
    void ShowPicture(const QString &path);
    // How the worker reads a listed path: readPicture, unless a test holds it up.
    void setPictureReader(std::function<PictureRead(const QString &)> reader);

    const QTimer &timer() const { return TimerPic; }

public slots:
    // The stage's transition ended or stopped.
    void transitionEnded();

signals:
    // The listed file `path` is missing or no picture (see above).
    void pictureRefused(const QString &path);

private:
    enum class Phase { Idle, Loading, Transition };

    void applyInterval();
    void updateTimer();
    // The list changed: its entries are checked and reported afresh.
    void picturesChanged();
    // The picture asked for is no picture, or never came: reported unless it was already.
    void refusePending();
    void pictureReady(quint64 serial, QSize size, const PictureRead &composed);
    void giveUpPicture();

    Session &m_session;
    PictureStage &m_stage;
    std::function<double()> m_secondsSinceMidnight;
    std::mt19937 m_generator;
    QTimer TimerPic;
    bool m_isFullScreen = false;
    // The entries of the current list reported as refused.
    QSet<QString> m_refused;
    bool m_isTickWaiting = false;
    Phase m_phase = Phase::Idle;
    std::function<PictureRead(const QString &)> m_readPicture = readPicture;
    // The serial of the picture request whose result is awaited.
    quint64 m_serial = 0;
    // The path of that request, and the whole tick intervals it has waited (counted from the
    // first tick after it).
    QString m_pendingPath;
    qint64 m_waitedMs = 0;
    WorkQueue m_worker;
};
