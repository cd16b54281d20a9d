#include "ui/firstframe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Watches the window for its first exposure, then runs the work once in the next turn of the
// event loop and goes.
class FirstFrameWatch : public QObject
{
public:
    FirstFrameWatch(QWidget &window, std::function<void()> work, int latestMs)
        : QObject(&window), m_work(std::move(work))
    {
        window.winId(); // the native window whose exposure is watched
        window.windowHandle()->installEventFilter(this);
        QTimer::singleShot(latestMs, this, &FirstFrameWatch::runSoon);
        if (window.windowHandle()->isExposed())
            runSoon();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed())
            runSoon();
        return false;
    }

private:
    // After the exposure's own handling, which paints the frame.
    void runSoon()
    {
        if (m_isQueued)
            return;
        m_isQueued = true;
        QTimer::singleShot(0, this, [this] {
            const std::function<void()> work = std::move(m_work);
            deleteLater();
            work();
        });
    }

    std::function<void()> m_work;
    bool m_isQueued = false;
};

} // namespace

void runAfterFirstFrame(QWidget &window, std::function<void()> work, int latestMs)
{
    new FirstFrameWatch(window, std::move(work), latestMs);
}
