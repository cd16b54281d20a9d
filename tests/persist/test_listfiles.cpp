#include "persist/listfiles.h"

#include <gtest/gtest.h>

namespace {

// The main window's picture list selects its first picture only after an end line; the
// options dialog's never does.
TEST(ListFiles, ReadEntriesUpToTheEndLine)
{
    struct Case
    {
        QString text;
        QStringList pictures; // read with the program folder "/o"
        QStringList folders;
        bool hasEndMark;
        int mainSelected; // the picture the main window selects
    };
    const Case cases[] = {
        {"a.jpg\r\n/p/b\r\n\r\n[END]\r\n", {"/o/a.jpg", "/p/b"}, {"a.jpg", "/p/b", ""}, true, 0},
        {"/lyr/\r\n[end]\n", {"/lyr/", "/o/[end]"}, {"/lyr/", "[end]"}, false, -1},
        {"/a/\r\n[END]\r\n/b/\r\n", {"/a/"}, {"/a/"}, true, 0},
        {"[END]\r\n", {}, {}, true, -1},
    };
    for (const Case &test : cases) {
        const ListFileEntries pictures = parsePicList(test.text, "/o");
        const ListFileEntries folders = parseLyricDirList(test.text);
        EXPECT_EQ(pictures.items, test.pictures) << test.text.toStdString();
        EXPECT_EQ(folders.items, test.folders);
        EXPECT_EQ(pictures.hasEndMark, test.hasEndMark);
        EXPECT_EQ(picListContents(pictures, ListSelection::FirstAfterEndMark).selected,
                  test.mainSelected);
        EXPECT_EQ(picListContents(pictures, ListSelection::None).selected, -1);
    }
}

} // namespace
