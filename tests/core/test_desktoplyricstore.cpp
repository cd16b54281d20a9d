#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/desktoplyricstore.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

const DesktopLyricSettings changed{.shown = true,
                                   .locked = true,
                                   .place = QRect(-40, 700, 900, 130),
                                   .fontFamily = QStringLiteral("文泉驿 微米黑"),
                                   .pointSize = 26.5,
                                   .bold = false,
                                   .normal = 0x010203,
                                   .highlight = 0xfedcba,
                                   .outline = 0xffffff};

// What the shutdown leaves: a change, which comes back after a restart; a missing file stays
// missing when nothing changed, and one of another kind as it was whatever changed.
TEST(DesktopLyricStoreTest, TheShutdownWritesAChangeButNotOverAFileOfAnotherKind)
{
    struct Row
    {
        QByteArray before; // empty: no file
        ReadStatus status;
        bool isChanged;
        QByteArray after; // how the file starts after the shutdown
        DesktopLyricSettings restarted;
    };
    const QByteArray foreign = "[DONTCHANGETHISSET]\r\nshown=-1\r\n";
    const Row rows[] = {
        {"", ReadStatus::Missing, true, "[ZORVANDESKTOPLYRICS]\r\nshown=-1\r\n", changed},
        {"", ReadStatus::Missing, false, "<missing>", {}},
        {foreign, ReadStatus::Unreadable, true, foreign, {}},
    };
    for (const Row &row : rows) {
        QTemporaryDir dir;
        const QString path = dir.filePath(DesktopLyricStore::FileName);
        if (!row.before.isEmpty())
            writeFile(path, row.before);
        DesktopLyricStore store(path);
        EXPECT_EQ(store.load(), row.status);
        QSignalSpy told(&store, &DesktopLyricStore::changed);
        for (int time = 0; row.isChanged && time < 2; ++time)
            store.setSettings(changed);
        EXPECT_EQ(told.count(), row.isChanged ? 1 : 0) << "only a real change is told";
        EXPECT_TRUE(store.flush().ok);
        EXPECT_TRUE(readFile(path).startsWith(row.after)) << row.after.constData();
        DesktopLyricStore restarted(path);
        restarted.load();
        EXPECT_EQ(restarted.settings(), row.restarted);
    }
}

// What a line of the file does to the settings that were there before it.
TEST(DesktopLyricStoreTest, BadLinesKeepTheSettingsTheyName)
{
    struct Row
    {
        const char *lines;
        DesktopLyricSettings expected;
    };
    const Row rows[] = {
        {"left=5\r\ntop=6\r\nwidth=700\r\nheight=100", {.place = QRect(5, 6, 700, 100)}},
        {"left=5\r\ntop=6\r\nwidth=700", {}},
        {"left=5\r\ntop=x\r\nwidth=700\r\nheight=100", {}},
        {"left=5\r\ntop=6\r\nwidth=0\r\nheight=100", {}},
        {"size=0\r\nnormal=#12345\r\noutline=nocolour\r\nfont=  \r\nshown=maybe\r\nlocked=", {}},
        {"colour=#ffffff\r\nno equals sign\r\n=-1\r\nshown=-1", {.shown = true, .place = {}}},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(DesktopLyricStore::FileName);
    for (const Row &row : rows) {
        writeFile(path, QByteArray("[ZORVANDESKTOPLYRICS]\r\n") + row.lines + "\r\n");
        DesktopLyricStore store(path);
        EXPECT_EQ(store.load(), ReadStatus::Read);
        EXPECT_EQ(store.settings(), row.expected) << row.lines;
    }
}

} // namespace
