#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/desktoplyricstore.h"
#include "fakes/gate.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

DesktopLyricSettings changedSettings()
{
    DesktopLyricSettings settings;
    settings.shown = true;
    settings.locked = true;
    settings.place = QRect(-40, 700, 900, 130);
    settings.fontFamily = QStringLiteral("文泉驿 微米黑");
    settings.pointSize = 26.5;
    settings.bold = false;
    settings.normal = 0x010203;
    settings.highlight = 0xfedcba;
    settings.outline = 0xffffff;
    return settings;
}

TEST(DesktopLyricStoreTest, ChangesComeBackAfterARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(DesktopLyricStore::FileName);
    {
        DesktopLyricStore store(path);
        QSignalSpy changed(&store, &DesktopLyricStore::changed);
        store.setSettings(changedSettings());
        store.setSettings(changedSettings());
        EXPECT_EQ(changed.count(), 1) << "only a real change is told";
        // Written on the worker without waiting for the shutdown.
        EXPECT_TRUE(deliverUntil([&] { return !readFile(path).isEmpty(); }));
        EXPECT_TRUE(store.save().ok);
    }
    EXPECT_TRUE(readFile(path).startsWith("[ZORVANDESKTOPLYRICS]\r\nshown=-1\r\n"));
    DesktopLyricStore loaded(path);
    EXPECT_EQ(loaded.load(), ReadStatus::Read);
    EXPECT_EQ(loaded.settings(), changedSettings());
}

TEST(DesktopLyricStoreTest, UnchangedSettingsWriteNothing)
{
    QTemporaryDir dir;
    DesktopLyricStore store(dir.filePath(DesktopLyricStore::FileName));
    EXPECT_EQ(store.load(), ReadStatus::Missing);
    EXPECT_TRUE(store.save().ok);
    EXPECT_FALSE(QFile::exists(store.path()));
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
    DesktopLyricSettings placed = defaults;
    placed.place = QRect(5, 6, 700, 100);
    DesktopLyricSettings shown = defaults;
    shown.shown = true;
    const Row rows[] = {
        {"left=5\r\ntop=6\r\nwidth=700\r\nheight=100", placed},
        {"left=5\r\ntop=6\r\nwidth=700", defaults},
        {"left=5\r\ntop=x\r\nwidth=700\r\nheight=100", defaults},
        {"left=5\r\ntop=6\r\nwidth=0\r\nheight=100", defaults},
        {"size=abc\r\nsize=0\r\nnormal=#12345\r\noutline=nocolour\r\nfont=  ", defaults},
        {"colour=#ffffff\r\nno equals sign\r\n=-1\r\nshown=-1", shown},
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

TEST(DesktopLyricStoreTest, AFileOfAnotherKindChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(DesktopLyricStore::FileName);
    writeFile(path, "[DONTCHANGETHISSET]\r\nshown=-1\r\n");
    DesktopLyricStore store(path);
    EXPECT_EQ(store.load(), ReadStatus::Unreadable);
    EXPECT_EQ(store.settings(), DesktopLyricSettings());
    EXPECT_TRUE(store.save().ok);
    EXPECT_EQ(readFile(path), "[DONTCHANGETHISSET]\r\nshown=-1\r\n") << "left as it was";
}

} // namespace
