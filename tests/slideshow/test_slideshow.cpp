#include <sys/stat.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "core/session.h"
#include "slideshow/picturestage.h"
#include "slideshow/slideshow.h"

namespace {

// Records the transitions it is asked for; a test ends them with Slideshow::transitionEnded.
class RecordingStage : public PictureStage
{
public:
    QSize stagePixels() const override { return {64, 48}; }
    QColor stageColour() const override { return Qt::blue; }
    void startTransition(const QImage &picture, const TransitionPlan &) override
    {
        shown.append(picture.pixelColor(32, 24));
        corners.append(picture.pixelColor(0, 0));
    }
    void stopTransition() override { ++stops; }

    // The colour at the centre of each picture brought in, and at its corner.
    QList<QColor> shown;
    QList<QColor> corners;
    int stops = 0;
};

class SlideshowTest : public testing::Test
{
protected:
    // An 8 x 8 picture of `colour`, its path.
    QString picture(const char *name, Qt::GlobalColor colour)
    {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(QLatin1String(name));
        image.save(path);
        return path;
    }
    // A tick, and the wait until its picture has come or has been refused.
    void tickAndWait()
    {
        const qsizetype before = stage.shown.size() + refused.size();
        show.ShowNextPicture();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return stage.shown.size() + refused.size() > before; }, 5000));
    }

    QTemporaryDir dir;
    Session session{dir.path()};
    RecordingStage stage;
    Slideshow show{session, stage, [] { return 3600.0; }, 11};
    QSignalSpy refused{&show, &Slideshow::pictureRefused};
};

TEST_F(SlideshowTest, TicksShowTheNextPictureCentredAndWrapAround)
{
    session.setListPic(
        {picture("1.png", Qt::red), picture("2.png", Qt::green), picture("3.png", Qt::yellow)}, 0);
    show.setFullScreen(true);
    for (int tick = 0; tick < 4; ++tick) {
        tickAndWait();
        show.transitionEnded();
    }
    EXPECT_EQ(stage.shown, (QList<QColor>{Qt::green, Qt::yellow, Qt::red, Qt::green}));
    EXPECT_EQ(stage.corners, QList<QColor>(4, Qt::blue));
    EXPECT_EQ(session.shownPicture(), 1);
    EXPECT_TRUE(refused.isEmpty());
}

TEST_F(SlideshowTest, AnEntryThatIsNoPictureIsReportedOnceAndTheShowGoesOnAfterwards)
{
    const QString good = picture("good.png", Qt::green);
    QFile text(dir.filePath(QStringLiteral("text.jpg")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture");
    text.close();
    ASSERT_EQ(mkfifo(dir.filePath(QStringLiteral("pipe.jpg")).toLocal8Bit().constData(), 0600), 0);
    show.setFullScreen(true);
    for (const QString &bad : {dir.filePath(QStringLiteral("gone.jpg")), text.fileName(),
                               dir.filePath(QStringLiteral("pipe.jpg")), dir.path()}) {
        SCOPED_TRACE(bad.toStdString());
        session.setListPic({good, bad}, 0);
        refused.clear();
        tickAndWait();
        ASSERT_EQ(refused.size(), 1);
        EXPECT_EQ(refused.first().first().toString(), bad);
        // While the message is open, ticks do nothing.
        show.ShowNextPicture();
        show.ShowNextPicture();
        EXPECT_EQ(session.shownPicture(), 1);
        EXPECT_FALSE(show.isBusy());
        show.reportClosed();
        stage.shown.clear();
        tickAndWait();
        EXPECT_EQ(stage.shown, QList<QColor>{Qt::green});
        show.transitionEnded();
    }
    EXPECT_EQ(refused.size(), 1);
}

TEST_F(SlideshowTest, ATickDuringATransitionWaitsForItsEnd)
{
    session.setListPic(
        {picture("1.png", Qt::red), picture("2.png", Qt::green), picture("3.png", Qt::yellow)}, 0);
    show.setFullScreen(true);
    show.ShowNextPicture();
    show.ShowNextPicture(); // while the picture is decoded
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stage.shown.isEmpty(); }, 5000));
    show.ShowNextPicture(); // during its transition
    EXPECT_EQ(session.shownPicture(), 1) << "the waiting ticks are one";
    show.transitionEnded();
    EXPECT_EQ(session.shownPicture(), 2) << "the waiting tick runs at the end";
    ASSERT_TRUE(QTest::qWaitFor([&] { return stage.shown.size() == 2; }, 5000));
    show.transitionEnded();
    EXPECT_FALSE(show.isBusy());
    EXPECT_EQ(stage.shown, (QList<QColor>{Qt::green, Qt::yellow}));

    // An empty list: a tick does nothing at all.
    session.setListPic({}, -1);
    show.ShowNextPicture();
    EXPECT_FALSE(show.isBusy());
    EXPECT_EQ(session.shownPicture(), -1);
}

TEST_F(SlideshowTest, LeavingFullScreenDropsThePictureOnItsWayAndEndsTheTransition)
{
    session.setListPic(
        {picture("1.png", Qt::red), picture("2.png", Qt::green), picture("3.png", Qt::yellow)}, 0);
    show.setFullScreen(true);
    tickAndWait();
    show.setFullScreen(false);
    EXPECT_EQ(stage.stops, 1);
    show.setFullScreen(true);
    show.ShowNextPicture();
    show.setFullScreen(false);
    show.setFullScreen(true);
    tickAndWait();
    EXPECT_EQ(stage.shown, (QList<QColor>{Qt::green, Qt::red}))
        << "the yellow picture, left on its way, never comes";
}

TEST_F(SlideshowTest, TheTimerRunsInFullScreenWithPicturesAtTheSetInterval)
{
    const auto setSeconds = [this](int seconds) {
        SettingsRecord settings = session.settings();
        settings.shared.PicShowSeconds = seconds;
        session.setSettings(settings);
    };
    const QString one = picture("1.png", Qt::red);
    struct Case
    {
        const char *what;
        std::function<void()> change;
        bool active;
        int interval;
    };
    const QList<Case> cases{
        {"at first", [] {}, false, 5000},
        {"full screen without pictures", [&] { show.setFullScreen(true); }, false, 5000},
        {"pictures come", [&] { session.setListPic({one}, 0); }, true, 5000},
        {"the interval changes", [&] { setSeconds(2); }, true, 2000},
        {"0 seconds", [&] { setSeconds(0); }, true, 1000},
        {"the list is emptied", [&] { session.setListPic({}, -1); }, false, 1000},
        {"and filled", [&] { session.setListPic({one}, 0); }, true, 1000},
        {"full screen ends", [&] { show.setFullScreen(false); }, false, 1000},
        {"the run ends",
         [&] {
             session.endRun();
             show.setFullScreen(true);
         },
         false, 1000},
    };
    for (const Case &c : cases) {
        c.change();
        EXPECT_EQ(show.timer().isActive(), c.active) << c.what;
        EXPECT_EQ(show.timer().interval(), c.interval) << c.what;
    }
    show.ShowNextPicture();
    EXPECT_EQ(session.shownPicture(), 0) << "after the run, a tick shows nothing";
}

} // namespace
