#include "slideshow/slideshow.h"

#include <algorithm>
#include <limits>


#include "core/session.h"
#include "slideshow/picshow.h"
#include "slideshow/picturestage.h"

namespace {

// The longest slideshow interval a timer can hold, in seconds.
constexpr int LongestPictureSeconds = std::numeric_limits<int>::max() / 1000;

} // namespace

Slideshow::Slideshow(Session &session, PictureStage &stage,
                     std::function<double()> secondsSinceMidnight, quint32 seed, QObject *parent)
    : QObject(parent), m_session(session), m_stage(stage),
      m_secondsSinceMidnight(std::move(secondsSinceMidnight)), m_generator(seed)
{
    m_decoder.setMaxThreadCount(1);
    connect(&TimerPic, &QTimer::timeout, this, &Slideshow::ShowNextPicture);
    connect(&session, &Session::settingsChanged, this, &Slideshow::applyInterval);
    connect(&session, &Session::picturesChanged, this, &Slideshow::updateTimer);
    applyInterval();
}

Slideshow::~Slideshow()
{
    ++m_serial;
    m_decoder.waitForDone();
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
    if (!m_session.AppRunning() || m_isReportShown)
        return;
    if (m_phase != Phase::Idle) {
        m_isTickWaiting = true;
        return;
    }
    const QStringList &pictures = m_session.ListPic();
    const int next = nextPictureIndex(int(pictures.size()), m_session.shownPicture());
    if (next < 0)
        return;
    m_session.setShownPicture(next);
    const QString &path = pictures.at(next);
    if (!isPictureFile(path)) {
        refuse(path);
        return;
    }
    ShowPicture(path);
}

void Slideshow::ShowPicture(const QString &path)
{
    const QSize size = m_stage.stagePixels();
    if (m_phase != Phase::Idle || size.isEmpty())
        return;
    const int effect = chooseEffect(float(m_secondsSinceMidnight()), m_generator);
    const QColor background = m_stage.stageColour();
    m_pendingPath = path;
    m_pendingPlan = planEffect(effect, size, m_generator);
    m_phase = Phase::Loading;
    const quint64 serial = ++m_serial;
    m_decoder.start([this, serial, path, size, background] {
        std::optional<QImage> composed;
        if (const std::optional<QImage> picture = loadPicture(path))
            composed = composePicture(*picture, size, background);
        QMetaObject::invokeMethod(
            this, [this, serial, composed] { pictureReady(serial, composed); },
            Qt::QueuedConnection);
    });
}

void Slideshow::pictureReady(quint64 serial, const std::optional<QImage> &composed)
{
    if (serial != m_serial)
        return;
    if (!composed) {
        m_phase = Phase::Idle;
        m_isTickWaiting = false;
        refuse(m_pendingPath);
        return;
    }
    m_phase = Phase::Transition;
    m_stage.startTransition(*composed, m_pendingPlan);
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

void Slideshow::refuse(const QString &path)
{
    m_isReportShown = true;
    emit pictureRefused(path);
}

void Slideshow::reportClosed()
{
    m_isReportShown = false;
}
