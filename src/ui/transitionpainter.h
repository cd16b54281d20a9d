#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "slideshow/picturestage.h"
#include "slideshow/transitionplan.h"

class Session;

// The surface of `PicBg` on which the slideshow's pictures arrive. It keeps the picture
// shown (in device pixels, one picture pixel to one device pixel) and carries a transition
// plan out on it: step k is painted EffectDelay(delay count) * (k + 1) after the start, by a
// single-shot timer, so the event loop runs on between steps. Steps that fell due together
// (after a busy moment) are painted together, so a transition keeps its length. Before every
// step it asks the session whether the run goes on; once the shutdown has begun it paints
// nothing more. Until a cell is painted, the previous picture stays there.
//
// It covers the panel beneath the lyric strip and takes neither the mouse nor the keys.
//
// For the whole-program tests, which cannot rely on a screenshot falling inside a transition:
// when the environment variable ZORVAN_TEST_TRANSITION_FRAMES names a folder, the picture
// shown after the middle step of the n-th transition (counted from 1) is saved there as
// transition-<n>.png.
class TransitionPainter : public QWidget, public PictureStage
{
    Q_OBJECT

public:
    explicit TransitionPainter(const Session &session, QWidget *parent = nullptr);

    QSize stagePixels() const override;
    QColor stageColour() const override;
    // A transition that still runs is ended first.
    void startTransition(const QImage &picture, const TransitionPlan &plan) override;
    void stopTransition() override;

    bool isRunning() const { return m_isRunning; }
    // Paints the next step of the running transition now, unless the run has ended (which
    // ends the transition); false when no step was painted. The last step ends it.
    bool paintNextStep();
    // What the surface shows, in device pixels; null before the first picture.
    const QImage &shownPicture() const { return m_shown; }

signals:
    void transitionEnded();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintDueSteps();
    void scheduleNextStep();
    void endTransition();

    const Session &m_session;
    QImage m_shown;
    QImage m_incoming;
    TransitionPlan m_plan;
    qsizetype m_nextStep = 0;
    bool m_isRunning = false;
    QTimer m_stepTimer;
    QElapsedTimer m_sinceStart;
    // Empty unless the middle frames are saved; the number of transitions started.
    const QString m_framesFolder = qEnvironmentVariable("ZORVAN_TEST_TRANSITION_FRAMES");
    int m_transitionCount = 0;
};
