#include <random>

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "core/session.h"
#include "slideshow/picshow.h"
#include "slideshow/slideshow.h"
#include "ui/transitionpainter.h"

namespace {

// The surface on a panel of an odd size, so every effect leaves strips over at the right
// and bottom edges.
class TransitionPainterTest : public testing::Test
{
protected:
    TransitionPainterTest()
    {
        QPalette colours = panel.palette();
        colours.setColor(QPalette::Window, QColor(10, 20, 30));
        panel.setPalette(colours);
        panel.resize(301, 203);
        painter.setGeometry(panel.rect());
        panel.show();
    }
    // Noise of the stage's size: a piece painted one pixel off shows.
    QImage noise(quint32 seed) const
    {
        std::mt19937 generator(seed);
        QImage picture(painter.stagePixels(), QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = 0xff000000u | (generator() & 0xffffffu);
        }
        return picture;
    }
    // The surface as it paints itself.
    QImage painted() { return painter.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void showAtOnce(const QImage &picture)
    {
        painter.startTransition(picture, WipeColumns(picture.size(), 0, 1));
        while (painter.paintNextStep()) {
        }
    }

    QTemporaryDir dir;
    Session session{dir.path()};
    QWidget panel;
    TransitionPainter painter{session, &panel};
    QSignalSpy ended{&painter, &TransitionPainter::transitionEnded};
};

TEST_F(TransitionPainterTest, AfterAWholeTransitionThePanelShowsTheComposedPicture)
{
    std::mt19937 generator(2);
    EXPECT_EQ(painted().pixelColor(150, 100), QColor(10, 20, 30)) << "before the first picture";
    for (int effect = 0; effect < EffectCount; ++effect) {
        const QImage composed = noise(effect);
        painter.startTransition(composed, planEffect(effect, composed.size(), generator));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ended.size() == effect + 1; }, 5000));
        EXPECT_TRUE(painted() == composed) << "effect " << effect;
    }
}

TEST_F(TransitionPainterTest, ClearingAppRunningStopsBeforeTheNextPiece)
{
    const QImage old = noise(1);
    showAtOnce(old);
    const QImage incoming = noise(2);
    std::mt19937 generator(4);
    const TransitionPlan plan = RandomBlocks(incoming.size(), 100, 10, 10, generator);
    painter.startTransition(incoming, plan);
    QImage expected = old;
    QPainter expectedPainter(&expected);
    for (int step = 0; step < 30; ++step) {
        ASSERT_TRUE(painter.paintNextStep());
        for (const TransitionPiece &piece : plan.steps.at(step))
            expectedPainter.drawImage(piece.target, incoming, piece.source);
    }
    expectedPainter.end();
    session.endRun();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !painter.isRunning(); }, 5000));
    EXPECT_EQ(ended.size(), 2);
    EXPECT_TRUE(painted() == expected) << "30 blocks of the new picture, the old one elsewhere";
}

TEST_F(TransitionPainterTest, ATickDuringATransitionWaitsUntilItEnds)
{
    QList<QString> paths;
    for (const quint32 seed : {5u, 6u}) {
        QImage picture = noise(seed).copy(0, 0, 250, 150);
        paths.append(dir.filePath(QStringLiteral("%1.png").arg(seed)));
        ASSERT_TRUE(picture.save(paths.last()));
    }
    SettingsRecord settings;
    settings.shared.PicShowSeconds = 3600;
    session.setSettings(settings);
    session.setListPic(paths, 1);
    // At midnight the transition is always the one-second wipe.
    Slideshow show(
        session, painter, [] { return 0.0; }, 1);
    QList<QImage> atEnds;
    QObject::connect(&painter, &TransitionPainter::transitionEnded, &show, [&] {
        atEnds.append(painted());
        show.transitionEnded();
    });
    show.setFullScreen(true);
    show.ShowNextPicture();
    ASSERT_TRUE(QTest::qWaitFor([&] { return painter.isRunning(); }, 5000));
    show.ShowNextPicture();
    EXPECT_EQ(session.shownPicture(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return atEnds.size() == 2; }, 10000));
    for (int index = 0; index < 2; ++index) {
        const QImage expected = composePicture(*loadPicture(paths.at(index)), painter.stagePixels(),
                                               painter.stageColour());
        EXPECT_TRUE(atEnds.at(index) == expected) << "picture " << index;
    }
}

} // namespace
