#include <atomic>

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/session.h"
#include "fakes/gate.h"
#include "slideshow/picturestage.h"
#include "slideshow/slideshow.h"

namespace {

struct CountingStage : PictureStage
{
    QSize stagePixels() const override { return {32, 24}; }
    QColor stageColour() const override { return Qt::black; }
    void startTransition(const QImage &, const TransitionPlan &) override { ++transitions; }
    void stopTransition() override {}
    int transitions = 0;
};

// A picture and a missing file, ticked through by the test. Nobody closes the reports: the
// show goes on past the missing entry, which is reported once until the list is set again.
TEST(RefusedPictureTest, TheShowGoesOnAndReportsAMissingEntryOncePerList)
{
    QTemporaryDir dir;
    Session session(dir.path());
    QImage(8, 6, QImage::Format_RGB32).save(dir.filePath("a.png"));
    const QStringList list{dir.filePath("a.png"), dir.filePath("gone.png")};
    session.setListPic(list, -1);
    CountingStage stage;
    Slideshow show(session, stage, [] { return 0.0; }, 1);
    QSignalSpy refused(&show, &Slideshow::pictureRefused);
    auto reads = std::make_shared<std::atomic<int>>(0);
    show.setPictureReader([reads](const QString &path) {
        const PictureRead read = readPicture(path);
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
    for (int rounds = 0; rounds < 3; ++rounds)
        round();
    session.setListPic(list, -1);
    round();
    round();
    EXPECT_EQ(refused.count(), 2) << "once for each list";
    EXPECT_EQ(refused.value(0).value(0), list.at(1));
}

} // namespace
