#include "slideshow/slideshow.h"

#include <algorithm>
#include <limits>

#include <QLoggingCategory>

#include "core/session.h"
#include "slideshow/picturestage.h"
#include "slideshow/transitionplan.h"

Q_LOGGING_CATEGORY(lcSlideshow, "zorvan.slideshow", QtWarningMsg)

namespace {

// The longest slideshow interval a timer can hold, in seconds.
constexpr int LongestPictureSeconds = std::numeric_limits<int>::max() / 1000;

// The kind of the picture jobs on the worker: only the one asked for last is wanted, so one
// still waiting behind a slow one gives way to the next.
constexpr int PictureJob = 1;

} // namespace

Slideshow::Slideshow(Session &session, PictureStage &stage,
                     std::function<double()> secondsSinceMidnight, quint32 seed, QObject *parent)
    : QObject(parent), m_session(session), m_stage(stage),
      m_secondsSinceMidnight(std::move(secondsSinceMidnight)), m_generator(seed)
{
    connect(&TimerPic, &QTimer::timeout, this, &Slideshow::ShowNextPicture);
    connect(&session, &Session::settingsChanged, this, &Slideshow::applyInterval);
    connect(&session, &Session::picturesChanged, this, &Slideshow::picturesChanged);
    applyInterval();
}

Slideshow::~Slideshow() = default;

void Slideshow::setPictureReader(std::function<PictureRead(const QString &)> reader)
{
    m_readPicture = std::move(reader);
}

void Slideshow::applyInterval()
{
    const int seconds =
        std::clamp(m_session.settings().shared.PicShowSeconds, 1, LongestPictureSeconds);
    // Setting the interval restarts a running timer: only a real change does.
    if (TimerPic.interval() != seconds * 1000)
        TimerPic.setInterval(seconds * 1000);
}

void Slideshow::updateTimer()
{
    const bool runs = m_isFullScreen && m_session.AppRunning() && !m_session.ListPic().isEmpty();
    if (!runs)
        TimerPic.stop();
    else if (!TimerPic.isActive())
        TimerPic.start();
}

void Slideshow::picturesChanged()
{
    m_refused.clear();
    updateTimer();
}

void Slideshow::setFullScreen(bool fullScreen)
{
    m_isFullScreen = fullScreen;
    if (!fullScreen) {
        ++m_serial;
        m_isTickWaiting = false;
        const bool wasShowing = m_phase == Phase::Transition;
        m_phase = Phase::Idle;
        if (wasShowing)
            m_stage.stopTransition();
    }
    updateTimer();
}

void Slideshow::shutDown()
{
    ++m_serial;
    m_isTickWaiting = false;
    TimerPic.stop();
}

void Slideshow::ShowNextPicture()
{
    if (!m_session.AppRunning())
        return;
    if (m_phase == Phase::Loading) {
        // The first tick may come at once after the request: only the intervals after it count.
        if (m_waitedMs >= StalledPictureSeconds * 1000) {
            giveUpPicture();
            return;
        }
        m_waitedMs += TimerPic.interval();
    }
    if (m_phase != Phase::Idle) {
        m_isTickWaiting = true;
        return;
    }
    const QStringList &pictures = m_session.ListPic();
    const int next = nextPictureIndex(int(pictures.size()), m_session.shownPicture());
    if (next < 0)
        return;
    m_session.setShownPicture(next);
    ShowPicture(pictures.at(next));
}

void Slideshow::ShowPicture(const QString &path)
{
    const QSize size = m_stage.stagePixels();
    if (m_phase != Phase::Idle || size.isEmpty())
        return;
    m_pendingPath = path;
    m_waitedMs = 0;
    m_phase = Phase::Loading;
    const quint64 serial = ++m_serial;
    m_worker.add(
        [read = m_readPicture, path, size, background = m_stage.stageColour()] {
            PictureRead result = read(path);
            if (result.picture)
                result.picture = composePicture(*result.picture, size, background);
            return result;
        },
        [this, serial, size](const PictureRead &composed) { pictureReady(serial, size, composed); },
        PictureJob);
}

void Slideshow::pictureReady(quint64 serial, QSize size, const PictureRead &composed)
{
    if (serial != m_serial)
        return;
    // Drawn for every picture file, also one that does not decode, as they always were.
    TransitionPlan plan;
    if (composed.isPictureFile)
        plan = planEffect(chooseEffect(float(m_secondsSinceMidnight()), m_generator), size,
                          m_generator);
    if (!composed.picture) {
        refusePending();
        return;
    }
    m_phase = Phase::Transition;
    m_stage.startTransition(*composed.picture, plan);
}

void Slideshow::giveUpPicture()
{
    qCWarning(lcSlideshow).noquote()
        << QStringLiteral("picture \"%1\" did not come within %2 s; skipped")
               .arg(m_pendingPath)
               .arg(m_waitedMs / 1000);
    ++m_serial;
    refusePending();
}

void Slideshow::transitionEnded()
{
    if (m_phase != Phase::Transition)
        return;
    m_phase = Phase::Idle;
    if (m_isTickWaiting) {
        m_isTickWaiting = false;
        ShowNextPicture();
    }
}

void Slideshow::refusePending()
{
    m_phase = Phase::Idle;
    m_isTickWaiting = false;
    if (!m_refused.contains(m_pendingPath)) {
        m_refused.insert(m_pendingPath);
        emit pictureRefused(m_pendingPath);
    }
}
