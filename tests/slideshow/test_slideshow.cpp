#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "core/session.h"
#include "slideshow/picturestage.h"
#include "slideshow/slideshow.h"

namespace {

class NoStage : public PictureStage
{
public:
    QSize stagePixels() const override { return {64, 48}; }
    QColor stageColour() const override { return Qt::blue; }
    void startTransition(const QImage &, const TransitionPlan &) override { ++transitions; }
    void stopTransition() override {}

    int transitions = 0;
};

// A picture read that does not answer, as on a mount that stopped, until the test lets it
// go; 10 s at most, so a slideshow that waits for it fails the test instead of hanging it.
struct StalledRead
{
    PictureRead operator()(const QString &)
    {
        std::unique_lock<std::mutex> lock(mutex);
        thread = QThread::currentThread();
        hasTimedOut = !released.wait_for(lock, std::chrono::seconds(10), [this] { return isFree; });
        return {};
    }
    void release()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        isFree = true;
        released.notify_all();
    }
    template <typename Value> Value get(const Value &field)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return field;
    }

    std::mutex mutex;
    std::condition_variable released;
    QThread *thread = nullptr;
    bool isFree = false;
    bool hasTimedOut = false;
};

template <typename Condition> bool waitFor(Condition done)
{
    for (const QDeadlineTimer deadline(5000); !done() && !deadline.hasExpired();)
        QThread::yieldCurrentThread();
    return done();
}

TEST(SlideshowTest, TheTimerRunsInFullScreenWithPicturesAtTheSetInterval)
{
    QTemporaryDir dir;
    Session session(dir.path());
    NoStage stage;
    Slideshow show(
        session, stage, [] { return 0.0; }, 1);
    const auto setSeconds = [&session](int seconds) {
        SettingsRecord settings = session.settings();
        settings.shared.PicShowSeconds = seconds;
        session.setSettings(settings);
    };
    // A change, and whether the timer then runs and at which interval.
    const QList<std::tuple<std::function<void()>, bool, int>> cases{
        {[&] { show.setFullScreen(true); }, false, 5000},
        {[&] { session.setListPic({"/p/1.png"}, 0); }, true, 5000},
        {[&] { setSeconds(2); }, true, 2000},
        {[&] { setSeconds(0); }, true, 1000},
        {[&] { session.setListPic({}, -1); }, false, 1000},
        {[&] { session.setListPic({"/p/1.png"}, 0); }, true, 1000},
        {[&] { show.setFullScreen(false); }, false, 1000},
        {[&] { session.endRun(), show.setFullScreen(true); }, false, 1000},
    };
    int number = 0;
    for (const auto &[change, active, interval] : cases) {
        change();
        EXPECT_EQ(show.timer().isActive(), active) << "case " << number;
        EXPECT_EQ(show.timer().interval(), interval) << "case " << number++;
    }
    show.ShowNextPicture();
    EXPECT_EQ(session.shownPicture(), 0) << "after the run, a tick shows nothing";
}

// The tick never reads the disk itself; a picture that does not come is given up with a
// report after StalledPictureSeconds of ticks, and the slideshow goes without waiting for it.
TEST(SlideshowTest, APictureThatDoesNotComeHoldsUpNeitherTheWindowNorTheShutdown)
{
    QTemporaryDir dir;
    Session session(dir.path());
    SettingsRecord settings = session.settings();
    settings.shared.PicShowSeconds = Slideshow::StalledPictureSeconds;
    session.setSettings(settings);
    session.setListPic({"/stalled/a.png"}, 0);
    NoStage stage;
    auto show = std::make_unique<Slideshow>(
        session, stage, [] { return 0.0; }, 1);
    auto read = std::make_shared<StalledRead>();
    const std::weak_ptr<StalledRead> heldByWorker = read;
    show->setPictureReader([read](const QString &path) { return (*read)(path); });
    QSignalSpy refused(show.get(), &Slideshow::pictureRefused);
    show->setFullScreen(true);

    show->ShowNextPicture();
    ASSERT_TRUE(waitFor([&] { return read->get(read->thread) != nullptr; }));
    EXPECT_NE(read->get(read->thread), QThread::currentThread()) << "read on the worker";
    show->ShowNextPicture(); // may come just after the request: only starts the count
    EXPECT_EQ(refused.count(), 0);
    show->ShowNextPicture();
    EXPECT_EQ(refused.count(), 1) << "given up at the tick after a whole interval of waiting";
    EXPECT_EQ(refused.value(0).value(0), "/stalled/a.png");

    show.reset();
    EXPECT_FALSE(read->get(read->hasTimedOut)) << "the destructor returned while it was read";
    read->release();
    read.reset();
    EXPECT_TRUE(waitFor([&] { return heldByWorker.expired(); }));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(stage.transitions, 0);
}

} // namespace
