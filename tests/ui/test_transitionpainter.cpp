#include <algorithm>
#include <random>

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "core/session.h"
#include "slideshow/picshow.h"
#include "slideshow/slideshow.h"
#include "ui/transitionpainter.h"

namespace {

// The surface on a panel of an odd size. That every effect's pieces cover the picture is the
// plans' unit test, that a whole transition ends on the composed picture the slideshow's
// whole-program test (test_slideshow.sh); here each piece lands where its plan says.
class TransitionPainterTest : public testing::Test
{
protected:
    TransitionPainterTest()
    {
        panel.setPalette(QPalette(QColor(10, 20, 30)));
        panel.resize(301, 203);
        painter.setGeometry(panel.rect());
        panel.show();
    }
    // Noise: a piece painted one pixel off shows.
    QImage noise(quint32 seed) const
    {
        std::mt19937 generator(seed);
        QImage picture(panel.size(), QImage::Format_RGB32); // 32-bit rows: no padding between them
        std::generate_n(reinterpret_cast<quint32 *>(picture.bits()),
                        picture.width() * picture.height(),
                        [&] { return 0xff000000u | (generator() & 0xffffffu); });
        return picture;
    }
    QImage painted() { return painter.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QTemporaryDir dir;
    Session session{dir.path()};
    QWidget panel;
    TransitionPainter painter{session, &panel};
};

TEST_F(TransitionPainterTest, ClearingAppRunningStopsBeforeTheNextPiece)
{
    QImage expected = noise(1);
    painter.startTransition(expected, WipeColumns(expected.size(), 0, 1));
    ASSERT_TRUE(painter.paintNextStep() && !painter.isRunning());
    const QImage incoming = noise(2);
    std::mt19937 generator(4);
    const TransitionPlan plan = RandomBlocks(incoming.size(), 100, 10, 10, generator);
    painter.startTransition(incoming, plan);
    QPainter expectedPainter(&expected);
    for (int step = 0; step < 30; ++step) {
        ASSERT_TRUE(painter.paintNextStep());
        const TransitionPiece &piece = plan.steps.at(step).first();
        expectedPainter.drawImage(piece.target, incoming, piece.source);
    }
    session.endRun();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !painter.isRunning(); }, 5000));
    EXPECT_TRUE(painted() == expected) << "30 blocks of the new picture, the old one elsewhere";
}

TEST_F(TransitionPainterTest, ATickDuringATransitionWaitsUntilItEnds)
{
    const QStringList paths{dir.filePath("5.png"), dir.filePath("6.png")};
    ASSERT_TRUE(noise(5).save(paths[0]) && noise(6).save(paths[1]));
    SettingsRecord settings;
    settings.shared.PicShowSeconds = 3600;
    session.setSettings(settings);
    session.setListPic(paths, 1);
    // At midnight the transition is always the one-second wipe.
    Slideshow show(
        session, painter, [] { return 0.0; }, 1);
    QObject::connect(&painter, &TransitionPainter::transitionEnded, &show,
                     &Slideshow::transitionEnded);
    show.setFullScreen(true);
    show.ShowNextPicture();
    ASSERT_TRUE(QTest::qWaitFor([&] { return painter.isRunning(); }, 5000));
    show.ShowNextPicture();
    EXPECT_EQ(session.shownPicture(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return session.shownPicture() == 1; }, 10000));
}

} // namespace
