#include <QTemporaryDir>

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
    void startTransition(const QImage &, const TransitionPlan &) override {}
    void stopTransition() override {}
};

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

} // namespace
