#include <atomic>
#include <memory>

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/session.h"
#include "fakes/gate.h"
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

struct SlideshowTest : testing::Test
{
    void setSeconds(int seconds)
    {
        SettingsRecord settings = session.settings();
        settings.shared.PicShowSeconds = seconds;
        session.setSettings(settings);
    }

    QTemporaryDir dir;
    Session session{dir.path()};
    NoStage stage;
    // The clock the effects are drawn by, at midnight.
    std::function<double()> midnight = [] { return 0.0; };
};

TEST_F(SlideshowTest, TheTimerRunsInFullScreenWithPicturesAtTheSetInterval)
{
    Slideshow show(session, stage, midnight, 1);
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
// report after StalledPictureSeconds of ticks, and the slideshow goes on without waiting for it.
// That the read holds up no shutdown either is the worker queue's test (test_workqueue.cpp).
TEST_F(SlideshowTest, APictureThatDoesNotComeDoesNotHoldUpTheWindow)
{
    setSeconds(Slideshow::StalledPictureSeconds);
    session.setListPic({"/stalled/a.png"}, 0);
    Slideshow show(session, stage, midnight, 1);
    auto gate = std::make_shared<Gate>();
    show.setPictureReader([gate](const QString &) {
        gate->pass();
        return PictureRead{};
    });
    QSignalSpy refused(&show, &Slideshow::pictureRefused);
    show.setFullScreen(true);

    show.ShowNextPicture();
    ASSERT_TRUE(deliverUntil([&] { return gate->passer() != nullptr; }));
    EXPECT_NE(gate->passer(), QThread::currentThread()) << "read on the worker";
    show.ShowNextPicture(); // may come just after the request: only starts the count
    EXPECT_EQ(refused.count(), 0);
    show.ShowNextPicture();
    EXPECT_EQ(refused.count(), 1) << "given up at the tick after a whole interval of waiting";
    EXPECT_EQ(refused.value(0).value(0), "/stalled/a.png");
    gate->open();
}

// A picture and a missing file, ticked through by the test. Nobody closes the reports: the
// show goes on past the missing entry, which is reported once until the list is set again.
TEST_F(SlideshowTest, TheShowGoesOnAndReportsAMissingEntryOncePerList)
{
    QImage(8, 6, QImage::Format_RGB32).save(dir.filePath("a.png"));
    const QStringList list{dir.filePath("a.png"), dir.filePath("gone.png")};
    session.setListPic(list, -1);
    Slideshow show(session, stage, midnight, 1);
    QSignalSpy refused(&show, &Slideshow::pictureRefused);
    auto reads = std::make_shared<std::atomic<int>>(0);
    show.setPictureReader([reads](const QString &path) {
        PictureRead read = readPicture(path);
        ++*reads;
        return read;
    });
    show.setFullScreen(true);
    // Ticks at the picture until it is on the stage, then at the missing entry until the worker
    // has looked at it. A tick while it is still on its way gives it up, which is refused alike.
    const auto round = [&] {
        const int before = stage.transitions;
        EXPECT_TRUE(deliverUntil([&] {
            QCoreApplication::sendPostedEvents();
            if (session.shownPicture() != 0)
                show.ShowNextPicture();
            return stage.transitions == before + 1;
        }));
        show.transitionEnded();
        const int read = *reads;
        show.ShowNextPicture();
        deliverUntil([&] { return *reads > read; });
    };
    round();
    round();
    session.setListPic(list, -1);
    round();
    EXPECT_EQ(refused.count(), 2) << "once for each list";
    EXPECT_EQ(refused.value(0).value(0), list.at(1));
}

} // namespace
