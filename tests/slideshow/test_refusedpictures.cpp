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

class CountingStage : public PictureStage
{
public:
    QSize stagePixels() const override { return {32, 24}; }
    QColor stageColour() const override { return Qt::black; }
    void startTransition(const QImage &, const TransitionPlan &) override { ++transitions; }
    void stopTransition() override {}

    int transitions = 0;
};

// A list of one picture and one missing file, shown in full screen by ticks the test gives.
class RefusedPictureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(m_dir.filePath("a.png")));
        // A picture still on its way at the second tick is given up, as a stalled one.
        SettingsRecord settings = m_session.settings();
        settings.shared.PicShowSeconds = Slideshow::StalledPictureSeconds;
        m_session.setSettings(settings);
        m_session.setListPic(list(), -1);
        m_show.setPictureReader([reads = m_reads](const QString &path) {
            PictureRead read = readPicture(path);
            ++*reads;
            return read;
        });
        m_show.setFullScreen(true);
    }

    QStringList list() const { return {m_dir.filePath("a.png"), m_dir.filePath("gone.png")}; }

    // Ticks until the show has moved on to the picture and it is on the stage; the
    // transition then ends. The missing entry before it is left when its refusal comes back,
    // or given up at the second tick.
    bool showsPicture()
    {
        const int before = m_stage.transitions;
        const bool shown = deliverUntil([&] {
            QCoreApplication::sendPostedEvents();
            if (m_session.shownPicture() != 0)
                m_show.ShowNextPicture();
            return m_stage.transitions == before + 1;
        });
        m_show.transitionEnded();
        return shown;
    }
    // Ticks at the missing entry and waits until the worker has looked at it.
    void tickAtMissingEntry()
    {
        const int before = *m_reads;
        m_show.ShowNextPicture();
        EXPECT_EQ(m_session.shownPicture(), 1);
        deliverUntil([&] { return *m_reads > before; });
    }

    QTemporaryDir m_dir;
    Session m_session{m_dir.path()};
    CountingStage m_stage;
    Slideshow m_show{m_session, m_stage, [] { return 0.0; }, 1};
    QSignalSpy m_refused{&m_show, &Slideshow::pictureRefused};
    std::shared_ptr<std::atomic<int>> m_reads = std::make_shared<std::atomic<int>>(0);
};

TEST_F(RefusedPictureTest, TheShowGoesOnPastARefusedEntryWhileItsReportIsOpen)
{
    ASSERT_TRUE(showsPicture());
    tickAtMissingEntry();
    // Nobody closes the report: the ticks go on to the picture.
    EXPECT_TRUE(showsPicture());
    ASSERT_EQ(m_refused.count(), 1);
    EXPECT_EQ(m_refused.value(0).value(0), m_dir.filePath("gone.png"));
}

TEST_F(RefusedPictureTest, AnEntryIsReportedOnceUntilTheListChanges)
{
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(showsPicture()) << "round " << round;
        tickAtMissingEntry();
    }
    EXPECT_TRUE(showsPicture());
    EXPECT_EQ(m_refused.count(), 1) << "three rounds, one report";

    m_session.setListPic(list(), -1);
    ASSERT_TRUE(showsPicture());
    tickAtMissingEntry();
    ASSERT_TRUE(showsPicture());
    EXPECT_EQ(m_refused.count(), 2) << "the list was set again: reported afresh";
}

} // namespace
