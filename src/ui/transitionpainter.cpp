#include "ui/transitionpainter.h"

#include <chrono>

#include <QPaintEvent>
#include <QPainter>

#include "core/session.h"
#include "slideshow/picshow.h"

TransitionPainter::TransitionPainter(const Session &session, QWidget *parent)
    : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("PicBgPicture"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is painted here, from the picture or in the background colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_stepTimer.setSingleShot(true);
    m_stepTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_stepTimer, &QTimer::timeout, this, &TransitionPainter::paintDueSteps);
}

QSize TransitionPainter::stagePixels() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

QColor TransitionPainter::stageColour() const
{
    return palette().color(QPalette::Window);
}

void TransitionPainter::startTransition(const QImage &picture, const TransitionPlan &plan)
{
    if (m_isRunning)
        endTransition();
    // The old picture stays where no cell has come yet; around it, if the screen grew, the
    // background.
    if (m_shown.size() != picture.size()) {
        QImage shown(picture.size(), QImage::Format_RGB32);
        shown.fill(stageColour());
        if (!m_shown.isNull())
            QPainter(&shown).drawImage(0, 0, m_shown);
        m_shown = shown;
    }
    m_incoming = picture;
    m_plan = plan;
    m_nextStep = 0;
    m_isRunning = true;
    ++m_transitionCount;
    m_sinceStart.start();
    if (plan.steps.isEmpty())
        endTransition();
    else
        scheduleNextStep();
}

void TransitionPainter::stopTransition()
{
    if (m_isRunning)
        endTransition();
}

void TransitionPainter::endTransition()
{
    m_isRunning = false;
    m_stepTimer.stop();
    m_incoming = QImage();
    m_plan = TransitionPlan();
    emit transitionEnded();
}

void TransitionPainter::scheduleNextStep()
{
    using namespace std::chrono;
    const microseconds due = EffectDelay(m_plan.delayCount) * (m_nextStep + 1);
    const microseconds elapsed =
        duration_cast<microseconds>(nanoseconds(m_sinceStart.nsecsElapsed()));
    m_stepTimer.start(std::max(ceil<milliseconds>(due - elapsed), milliseconds(0)));
}

void TransitionPainter::paintDueSteps()
{
    using namespace std::chrono;
    const microseconds elapsed =
        duration_cast<microseconds>(nanoseconds(m_sinceStart.nsecsElapsed()));
    const microseconds step = EffectDelay(m_plan.delayCount);
    while (m_isRunning && step * (m_nextStep + 1) <= elapsed)
        paintNextStep();
    if (m_isRunning)
        scheduleNextStep();
}

bool TransitionPainter::paintNextStep()
{
    if (!m_isRunning)
        return false;
    if (!m_session.AppRunning()) {
        endTransition();
        return false;
    }
    QPainter painter(&m_shown);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const qreal ratio = devicePixelRatioF();
    for (const TransitionPiece &piece : m_plan.steps.at(m_nextStep)) {
        painter.drawImage(piece.target, m_incoming, piece.source);
        // Each piece on its own: the two strips of a split lie apart.
        update(QRectF(QPointF(piece.target) / ratio, QSizeF(piece.source.size()) / ratio)
                   .toAlignedRect());
    }
    painter.end();
    if (++m_nextStep == (m_plan.steps.size() + 1) / 2 && !m_framesFolder.isEmpty())
        m_shown.save(
            QStringLiteral("%1/transition-%2.png").arg(m_framesFolder).arg(m_transitionCount));
    if (m_nextStep == m_plan.steps.size())
        endTransition();
    return true;
}

void TransitionPainter::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    const qreal ratio = devicePixelRatioF();
    const QRectF source(QPointF(dirty.topLeft()) * ratio, QSizeF(dirty.size()) * ratio);
    if (!QRectF(m_shown.rect()).contains(source))
        painter.fillRect(dirty, stageColour());
    if (!m_shown.isNull())
        painter.drawImage(QRectF(dirty), m_shown, source);
}
