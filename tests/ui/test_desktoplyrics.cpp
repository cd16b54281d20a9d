#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "core/desktoplyricstore.h"
#include "support/qtprinters.h"
#include "ui/desktoplyrics.h"

namespace {

class FakeKaraoke : public KaraokeSource
{
public:
    KaraokeLines karaokeLines() const override { return lines; }
    double karaokeFill() const override { return fill; }
    bool isRunning() const override { return running; }

    void showLines(int index, const QString &current, const QString &next)
    {
        lines = {index, current, next};
        fill = 0;
        emit karaokeLinesChanged();
    }
    void setRunning(bool on)
    {
        running = on;
        emit runningChanged(on);
    }

    KaraokeLines lines;
    double fill = 0;
    bool running = false;
};

// The window with the parts of it that each paint covered.
class RecordingLyrics : public DesktopLyrics
{
public:
    using DesktopLyrics::DesktopLyrics;
    QRegion painted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        painted += event->region();
        DesktopLyrics::paintEvent(event);
    }
};

class DesktopLyricsTest : public ::testing::Test
{
protected:
    DesktopLyricsTest()
    {
        DesktopLyricSettings settings;
        settings.shown = true;
        settings.place = QRect(20, 30, 900, 10);
        store.setSettings(settings);
        window.emplace(store, source, [](Command) {});
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&*window));
    }

    // Delivers the repaints asked for, and returns what they covered.
    QRegion repainted()
    {
        window->painted = QRegion();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        return window->painted;
    }

    // Whether some pixel of `area` is not see-through.
    bool paintsIn(const QRect &area)
    {
        QImage image(window->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        window->render(&image);
        QImage clear(area.size(), image.format());
        clear.fill(Qt::transparent);
        return image.copy(area) != clear;
    }

    QTemporaryDir dir;
    DesktopLyricStore store{dir.filePath(DesktopLyricStore::FileName)};
    FakeKaraoke source;
    std::optional<RecordingLyrics> window;
};

TEST(SungWidthTest, WholeCharactersAndAFractionOfTheNext)
{
    const QFontMetricsF metrics(QFont(QStringLiteral("Sans"), 30));
    const QString line = QStringLiteral("我的w歌");
    const auto advance = [&](int count) { return metrics.horizontalAdvance(line.left(count)); };
    const QList<double> edges = characterEdges(metrics, line);
    const struct
    {
        double fill;
        double width;
    } rows[] = {
        {-1, 0},         {0, 0},
        {1, advance(1)}, {2.5, advance(2) + (advance(3) - advance(2)) / 2},
        {4, advance(4)}, {9, advance(4)},
    };
    for (const auto &row : rows)
        EXPECT_DOUBLE_EQ(sungWidth(edges, row.fill), row.width) << row.fill;
    // A line wider than the room is measured only up to the first edge past it.
    EXPECT_EQ(characterEdges(metrics, line.repeated(10'000), advance(2)).size(), 4);
}

// Line k stands on row k % 2, the even lines at the left, the odd ones at the right.
TEST_F(DesktopLyricsTest, LinesAlternateBetweenTheRowsAndSides)
{
    EXPECT_GT(window->height(), 10) << "the height follows the font";
    const int half = window->height() / 2;
    const QRect topLeft(0, 0, window->width() / 3, half);
    const QRect bottomRight(window->width() * 2 / 3, half, window->width() / 3, half);
    for (const int index : {4, 5}) {
        source.showLines(index, QStringLiteral("当前"), QStringLiteral("下一"));
        const QRectF current = window->lineRect(index, QStringLiteral("当前"));
        EXPECT_TRUE((index == 4 ? topLeft : bottomRight).contains(current.center().toPoint()));
        EXPECT_TRUE(paintsIn(topLeft) && paintsIn(bottomRight)) << index;
        const QRect between(topLeft.right() + 1, 0, bottomRight.left() - topLeft.right() - 1, half);
        EXPECT_FALSE(paintsIn(between)) << index;
    }
}

// A step of the fill repaints only the strip it covers; the frame timer runs only while the
// fill can move.
TEST_F(DesktopLyricsTest, TheFillRepaintsItsStripWhileItMoves)
{
    source.showLines(0, QStringLiteral("我的歌"), QStringLiteral("下一句"));
    EXPECT_FALSE(window->isFrameTimerActive()) << "not running";
    source.setRunning(true);
    EXPECT_TRUE(window->isFrameTimerActive());
    repainted();
    source.fill = 1.5;
    source.runningChanged(true);
    const QRegion strip = repainted();
    EXPECT_FALSE(strip.isEmpty());
    EXPECT_EQ(strip.boundingRect().united(window->fillStrip(0, 1.5)), window->fillStrip(0, 1.5));
    source.fill = 3;
    source.runningChanged(true);
    EXPECT_FALSE(window->isFrameTimerActive()) << "the line is full";
    source.showLines(1, QStringLiteral("下一句"), QString());
    EXPECT_TRUE(window->isFrameTimerActive());
    source.setRunning(false);
    EXPECT_FALSE(window->isFrameTimerActive()) << "paused";
    source.setRunning(true);
    window->hide();
    EXPECT_FALSE(window->isFrameTimerActive()) << "hidden";
}

} // namespace
