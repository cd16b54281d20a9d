#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "support/files.h"
#include "support/qtprinters.h"

// A folder's first song plays before the folder is sorted, and the sorted rest follows it:
// together they must be the whole sorted folder, also where names tie in the collation.
namespace {

struct FolderCase
{
    const char *what;
    QStringList names;
    QStringList sorted;
};

TEST(SoundFolderTest, TheFirstAndTheRestMakeTheSortedFolder)
{
    // Numbers by their value, which only a real locale's collation knows; "01" and "1" tie.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const FolderCase cases[] = {
        {"empty", {}, {}},
        {"no sound file", {"cover.jpg", "notes.txt"}, {}},
        {"numbers",
         {"10.mp3", "9.WAV", "b.wma", "a.mp3", "x.ogg"},
         {"9.WAV", "10.mp3", "a.mp3", "b.wma"}},
        {"ties", {"1.mp3", "01.mp3", "001.mp3", "2.mp3"}, {}},
    };
    for (const FolderCase &each : cases) {
        QTemporaryDir dir;
        for (const QString &name : each.names)
            writeFile(dir.filePath(name), {});
        SoundFolder folder;
        folder.list(dir.path());
        const QString first = folder.first();
        const QStringList rest = folder.sorted(1);
        folder.list(dir.path());
        const QStringList all = folder.sorted();
        EXPECT_EQ(first.isEmpty() ? rest : QStringList{first} + rest, all) << each.what;
        if (!each.sorted.isEmpty()) {
            QStringList expected;
            for (const QString &name : each.sorted)
                expected << dir.filePath(name);
            EXPECT_EQ(all, expected) << each.what;
        }
    }
    QLocale::setDefault(before);
}

} // namespace
