#include "persist/listfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ListCase
{
    const char *name;
    QString text;
    QStringList pictures; // read with the program folder "/opt/player"
    QStringList folders;
    bool hasEndMark;
};

void PrintTo(const ListCase &c, std::ostream *out)
{
    *out << c.name;
}

class ListFileParse : public testing::TestWithParam<ListCase>
{
};

TEST_P(ListFileParse, ReadsEntriesUpToTheEndLine)
{
    const ListCase &c = GetParam();
    for (const QString programFolder : {"/opt/player", "/opt/player/"}) {
        const ListFileEntries pictures = parsePicList(c.text, programFolder);
        EXPECT_EQ(pictures.items, c.pictures) << programFolder.toStdString();
        EXPECT_EQ(pictures.hasEndMark, c.hasEndMark);
    }
    const ListFileEntries folders = parseLyricDirList(c.text);
    EXPECT_EQ(folders.items, c.folders);
    EXPECT_EQ(folders.hasEndMark, c.hasEndMark);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListFileParse,
    testing::Values(
        ListCase{"example",
                 "sunset.jpg\r\n/pics/a.bmp\r\n\r\n[END]\r\n",
                 {"/opt/player/sunset.jpg", "/pics/a.bmp"},
                 {"sunset.jpg", "/pics/a.bmp", ""},
                 true},
        ListCase{"no_end_line",
                 "/lyr/\r\nrel/\n",
                 {"/lyr/", "/opt/player/rel/"},
                 {"/lyr/", "rel/"},
                 false},
        ListCase{
            "lines_after_end_ignored", "/a/\r\n[END]\r\n/b/\r\n[END]\r\n", {"/a/"}, {"/a/"}, true},
        ListCase{"end_line_matched_exactly",
                 "[end]\r\n[END] \r\n",
                 {"/opt/player/[end]", "/opt/player/[END] "},
                 {"[end]", "[END] "},
                 false},
        ListCase{"end_line_only", "[END]\r\n", {}, {}, true}, ListCase{"empty", "", {}, {}, false}),
    [](const testing::TestParamInfo<ListCase> &info) { return std::string(info.param.name); });

TEST(ListFiles, ReadBackWhatTheyWrote)
{
    QTemporaryDir folder;
    const QString picPath = folder.filePath("config/zorvan.pic");
    const QString lyricPath = folder.filePath("config/zorvan.lyr");
    const QStringList pictures = {"/图片/一.jpg", "/pics/😀.png"};
    const QStringList folders = {"/歌词/", "", "/lyr/"};
    ASSERT_TRUE(SavePicList(picPath, pictures).ok);
    ASSERT_TRUE(SaveLyricDirList(lyricPath, folders).ok);
    const std::optional<ListFileEntries> readPictures = LoadPicList(picPath, "/elsewhere");
    const std::optional<ListFileEntries> readFolders = LoadLyricDirList(lyricPath);
    ASSERT_TRUE(readPictures && readFolders);
    EXPECT_EQ(readPictures->items, pictures);
    EXPECT_EQ(readFolders->items, folders);
    EXPECT_TRUE(readPictures->hasEndMark && readFolders->hasEndMark);

    ASSERT_TRUE(SavePicList(picPath, {}).ok);
    QFile file(picPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[END]\r\n");
}

TEST(ListFiles, MissingFileIsNothingAndEmptyFileIsAnEmptyList)
{
    QTemporaryDir folder;
    EXPECT_FALSE(LoadPicList(folder.filePath("zorvan.pic"), folder.path()));
    EXPECT_FALSE(LoadLyricDirList(folder.filePath("zorvan.lyr")));

    QFile empty(folder.filePath("empty"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const std::optional<ListFileEntries> pictures = LoadPicList(empty.fileName(), folder.path());
    ASSERT_TRUE(pictures);
    EXPECT_TRUE(pictures->items.isEmpty());
    EXPECT_FALSE(pictures->hasEndMark);
}

TEST(ListFiles, ReportFilesThatCannotBeWritten)
{
    QTemporaryDir folder;
    EXPECT_FALSE(SavePicList(folder.path(), {"/a.jpg"}).ok);
    EXPECT_FALSE(SaveLyricDirList(folder.path(), {"/a/"}).ok);
}

} // namespace

namespace {

TEST(ListTargets, MainWindowListsTakeTheirExtraStepOnlyAfterAnEndLine)
{
    const ListFileEntries complete = parseLyricDirList("/lrc/\r\n\r\n[END]\r\n");
    const ListFileEntries cut = parseLyricDirList("/lrc/\r\n");
    const ListFileEntries empty = parseLyricDirList("[END]\r\n");

    EXPECT_EQ(lyricDirListContents(complete, ListTarget::FmMain).items,
              (QStringList{"/lrc/", "", "[END]"}));
    EXPECT_EQ(lyricDirListContents(complete, ListTarget::FmTmp).items, (QStringList{"/lrc/", ""}));
    EXPECT_EQ(lyricDirListContents(cut, ListTarget::FmMain).items, QStringList{"/lrc/"});
    EXPECT_EQ(lyricDirListContents(empty, ListTarget::FmMain).items, QStringList{"[END]"});

    const ListFileEntries pictures = parsePicList("a.jpg\r\n[END]\r\n", "/p");
    EXPECT_EQ(picListContents(pictures, ListTarget::FmMain).selected, 0);
    EXPECT_EQ(picListContents(pictures, ListTarget::FmTmp).selected, -1);
    EXPECT_EQ(picListContents(parsePicList("a.jpg\r\n", "/p"), ListTarget::FmMain).selected, -1);
    EXPECT_EQ(picListContents(parsePicList("[END]\r\n", "/p"), ListTarget::FmMain).selected, -1)
        << "an empty list has nothing to select";
}

} // namespace
