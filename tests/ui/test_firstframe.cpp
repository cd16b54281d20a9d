#include <memory>

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/firstframe.h"

namespace {

class CountingWidget : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override { ++paints; }
};

// The work runs once, after the window's first paint, never inside the call.
TEST(FirstFrame, RunsOnceAfterTheFirstPaint)
{
    CountingWidget window;
    window.show();
    QList<int> paintsSeen;
    runAfterFirstFrame(window, [&] { paintsSeen << window.paints; });
    EXPECT_TRUE(paintsSeen.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !paintsSeen.isEmpty(); }, 5000));
    EXPECT_GE(paintsSeen.first(), 1);
    window.hide();
    window.show();
    QTest::qWait(50);
    EXPECT_EQ(paintsSeen.size(), 1);
}

// Rows: whether the hidden window is destroyed before the event loop runs, and whether the
// work runs then.
struct Unexposed
{
    const char *name;
    bool destroyFirst;
    bool runs;
};

// A window that is never exposed still gets its work, at the latest moment; one destroyed
// first never does.
TEST(FirstFrame, WindowNeverExposed)
{
    const Unexposed cases[] = {{"hidden window", false, true},
                               {"destroyed before", true, false}};
    for (const Unexposed &row : cases) {
        auto window = std::make_unique<QWidget>();
        bool ran = false;
        runAfterFirstFrame(*window, [&ran] { ran = true; }, 0);
        if (row.destroyFirst)
            window.reset();
        QTest::qWait(50);
        EXPECT_EQ(ran, row.runs) << row.name;
    }
}

} // namespace
