#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/desktoplyricstore.h"
#include "fakes/gate.h"
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

TEST(DesktopLyricStoreTest, ChangesComeBackAfterARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(DesktopLyricStore::FileName);
    {
        DesktopLyricStore store(path);
        QSignalSpy told(&store, &DesktopLyricStore::changed);
        store.setSettings(changed);
        store.setSettings(changed);
        EXPECT_EQ(told.count(), 1) << "only a real change is told";
        // Written on the worker without waiting for the shutdown.
        EXPECT_TRUE(deliverUntil([&] { return !readFile(path).isEmpty(); }));
        EXPECT_TRUE(store.save().ok);
    }
    EXPECT_TRUE(readFile(path).startsWith("[ZORVANDESKTOPLYRICS]\r\nshown=-1\r\n"));
    DesktopLyricStore loaded(path);
    EXPECT_EQ(loaded.load(), ReadStatus::Read);
    EXPECT_EQ(loaded.settings(), changed);
}

// A missing file or one of another kind loads the defaults, and a save with nothing changed
// leaves it as it was.
TEST(DesktopLyricStoreTest, UnchangedSettingsWriteNothing)
{
    struct Row
    {
        QByteArray file; // empty: none
        ReadStatus status;
    };
    for (const Row &row : {Row{"", ReadStatus::Missing},
                           Row{"[DONTCHANGETHISSET]\r\nshown=-1\r\n", ReadStatus::Unreadable}}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(DesktopLyricStore::FileName);
        if (!row.file.isEmpty())
            writeFile(path, row.file);
        DesktopLyricStore store(path);
        EXPECT_EQ(store.load(), row.status);
        EXPECT_EQ(store.settings(), DesktopLyricSettings());
        EXPECT_TRUE(store.save().ok);
        EXPECT_EQ(readFile(path), row.file.isEmpty() ? "<missing>" : row.file) << "as it was";
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
    const DesktopLyricSettings defaults;
    const Row rows[] = {
        {"left=5\r\ntop=6\r\nwidth=700\r\nheight=100", {.place = QRect(5, 6, 700, 100)}},
        {"left=5\r\ntop=6\r\nwidth=700", defaults},
        {"left=5\r\ntop=x\r\nwidth=700\r\nheight=100", defaults},
        {"left=5\r\ntop=6\r\nwidth=0\r\nheight=100", defaults},
        {"size=abc\r\nsize=0\r\nnormal=#12345\r\noutline=nocolour\r\nfont=  ", defaults},
        {"colour=#ffffff\r\nno equals sign\r\n=-1\r\nshown=-1", {.shown = true, .place = {}}},
        {"shown=maybe\r\nlocked=", defaults},
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
