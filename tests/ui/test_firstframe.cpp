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

// Rows: whether the window is shown (and so exposed), and whether it is destroyed before the
// event loop runs.
struct Start
{
    const char *name;
    bool shown;
    bool destroyedFirst;
};

// The work runs once, never inside the call: after the first paint of a shown window, at the
// latest moment for one never exposed, and not at all for one destroyed first.
TEST(FirstFrame, RunsAfterTheFirstPaintOrAtTheLatest)
{
    const Start cases[] = {
        {"shown", true, false}, {"never shown", false, false}, {"destroyed first", false, true}};
    for (const Start &row : cases) {
        auto window = std::make_unique<CountingWidget>();
        if (row.shown)
            window->show();
        QList<int> paintsSeen;
        runAfterFirstFrame(
            *window, [&] { paintsSeen << window->paints; }, row.shown ? 60000 : 0);
        EXPECT_TRUE(paintsSeen.isEmpty()) << row.name;
        if (row.destroyedFirst)
            window.reset();
        QTest::qWait(100);
        ASSERT_EQ(paintsSeen.size(), row.destroyedFirst ? 0 : 1) << row.name;
        EXPECT_TRUE(!row.shown || paintsSeen.first() >= 1) << row.name;
    }
}

} // namespace
