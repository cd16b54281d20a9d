#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "support/files.h"
#include "support/qtprinters.h"

// A folder's first song plays before the folder is sorted and the sorted rest follows it:
// together they make the whole sorted folder, also where names tie ("01" and "1", numbers by
// their value in a real locale's collation) and where there is no sound file.
TEST(SoundFolderTest, TheFirstAndTheRestMakeTheSortedFolder)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList folders[] = {{"cover.jpg"},
                                   {"2.wma", "1.mp3", "cover.jpg", "01.mp3", "001.WAV", "10.mp3"}};
    for (const QStringList &names : folders) {
        QTemporaryDir dir;
        for (const QString &name : names)
            writeFile(dir.filePath(name), {});
        SoundFolder folder;
        folder.list(dir.path());
        const QString first = folder.first();
        QStringList firstAndRest = folder.sorted(first.isEmpty() ? 0 : 1);
        if (!first.isEmpty())
            firstAndRest.prepend(first);
        folder.list(dir.path());
        EXPECT_EQ(firstAndRest, folder.sorted()) << names.join(' ').toStdString();
    }
    QLocale::setDefault(before);
}
