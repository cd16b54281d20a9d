#include "persist/playlistfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "persist/textcodec.h"

namespace {

struct ParseCase
{
    const char *name;
    QString text;
    QStringList songs;
    QStringList infos;
};

void PrintTo(const ParseCase &c, std::ostream *out)
{
    *out << c.name;
}

class PlaylistParse : public testing::TestWithParam<ParseCase>
{
};

TEST_P(PlaylistParse, ListsSongsAndTheirInformationLines)
{
    const ParseCase &c = GetParam();
    const PlaylistEntries entries = parsePlaylist(c.text, QStringLiteral("/lists/"));
    EXPECT_EQ(entries.songs, c.songs);
    EXPECT_EQ(entries.infos, c.infos);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PlaylistParse,
    testing::Values(
        ParseCase{"empty", "", {}, {}},
        ParseCase{"plain_crlf_last_line_unterminated",
                  "/m/a.mp3\r\n/m/b.wma",
                  {"/m/a.mp3", "/m/b.wma"},
                  {"/m/a.mp3", "/m/b.wma"}},
        ParseCase{"lf_and_mixed_line_ends",
                  "/m/a.mp3\nb.mp3\r\n/m/c.wav\n",
                  {"/m/a.mp3", "/lists/b.mp3", "/m/c.wav"},
                  {"/m/a.mp3", "b.mp3", "/m/c.wav"}},
        ParseCase{"blank_lines_skipped", "\r\n\r\n/m/a.mp3\r\n\r\n", {"/m/a.mp3"}, {"/m/a.mp3"}},
        ParseCase{"lines_not_trimmed", " a.mp3 \r\n", {"/lists/ a.mp3 "}, {" a.mp3 "}},
        ParseCase{"extended",
                  "#EXTM3U\r\n#EXTINF:123,Singer - Song\r\nsong.mp3\r\n",
                  {"/lists/song.mp3"},
                  {"#EXTINF:123,Singer - Song"}},
        ParseCase{"marker_followed_by_path", "#EXTM3U\r\n/m/a.mp3", {"/m/a.mp3"}, {"/m/a.mp3"}},
        ParseCase{"two_info_lines_in_a_row",
                  "#EXTM3U\n#EXTINF:1,a\n#EXTINF:2,b\nb.mp3\n",
                  {"/lists/b.mp3"},
                  {"#EXTINF:2,b"}},
        ParseCase{"marker_inside_line_pairs", "x#EXTy\r\na.mp3", {"/lists/a.mp3"}, {"x#EXTy"}},
        ParseCase{"lower_case_marker_is_a_path",
                  "#extinf:1,a\r\na.mp3",
                  {"/lists/#extinf:1,a", "/lists/a.mp3"},
                  {"#extinf:1,a", "a.mp3"}},
        ParseCase{"info_at_end_or_before_blank_line",
                  "#EXTINF:1,x\r\n\r\na.mp3\r\n#EXTINF:2,y",
                  {"/lists/a.mp3"},
                  {"a.mp3"}},
        ParseCase{"windows_relative", "music\\a.mp3", {"/lists/music/a.mp3"}, {"music\\a.mp3"}},
        ParseCase{"leading_backslash_and_share",
                  "\\a.mp3\r\n\\\\srv\\a.mp3",
                  {"/lists//a.mp3", "/lists///srv/a.mp3"},
                  {"\\a.mp3", "\\\\srv\\a.mp3"}},
        ParseCase{"absolute_kept_with_backslash", "/m/a\\b.mp3", {"/m/a\\b.mp3"}, {"/m/a\\b.mp3"}},
        ParseCase{"file_urls",
                  "file:///home/u/My%20Music/%E6%AD%8C.mp3\r\nFILE://srv/share/a.mp3",
                  {"/home/u/My Music/歌.mp3", "//srv/share/a.mp3"},
                  {"file:///home/u/My%20Music/%E6%AD%8C.mp3", "FILE://srv/share/a.mp3"}},
        ParseCase{"empty_file_url_is_relative", "file://", {"/lists/file://"}, {"file://"}}),
    [](const testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

class PlaylistFile : public testing::Test
{
protected:
    QString path(const QString &name) const { return m_folder.filePath(name); }
    void writeBytes(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray readBytes(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_folder;
};

TEST_F(PlaylistFile, WritesThePlainFormInGb18030WithCrLf)
{
    ASSERT_TRUE(SavePlaylist(path("a.m3u"), {"/音乐/a.mp3", "/m/b.wma"}).ok);
    EXPECT_EQ(readBytes("a.m3u"), "\x2f\xd2\xf4\xc0\xd6/a.mp3\r\n/m/b.wma\r\n");
    ASSERT_TRUE(SavePlaylist(path("empty.m3u"), {}).ok);
    EXPECT_TRUE(QFile::exists(path("empty.m3u")));
    EXPECT_EQ(readBytes("empty.m3u"), QByteArray());
}

// Paths that hold a line break or the information marker would read back as other
// entries in the plain form, so they must survive in another way.
TEST_F(PlaylistFile, ReadsBackWhatItWrote)
{
    const QStringList songs = {
        "/音乐/歌手/一.mp3",    "/m/😀 smile.mp3",      "/m/𠀀.wav",
        "/m/with space/€5.wma", "/m/a#EXTINF:1,b.mp3", "/m/line\nbreak.mp3",
        "/m/cr\r.mp3",          "/m/100%?#x.mp3",      "/m/back\\slash.mp3",
    };
    ASSERT_TRUE(SavePlaylist(path("list.m3u"), songs).ok);
    const PlaylistEntries entries = LoadPlaylist(path("list.m3u"));
    EXPECT_EQ(entries.songs, songs);
    EXPECT_EQ(entries.infos.size(), songs.size());

    // Chinese text whose GB18030 bytes happen to form valid UTF-8 as well.
    const QStringList ambiguous = {"/图片/一.mp3"};
    ASSERT_TRUE(SavePlaylist(path("ambiguous.m3u"), ambiguous).ok);
    EXPECT_EQ(LoadPlaylist(path("ambiguous.m3u")).songs, ambiguous);
}

TEST_F(PlaylistFile, ResolvesRelativeLinesAgainstTheListsFolder)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("lists"));
    writeBytes("lists/x.m3u", "#EXTM3U\r\n#EXTINF:1,x\r\nsong.mp3\r\nsub\\\xb8\xe8.mp3\r\n");
    const PlaylistEntries entries = LoadPlaylist(path("lists/x.m3u"));
    EXPECT_EQ(entries.songs,
              QStringList({path("lists/song.mp3"), path("lists/sub/") + QStringLiteral("歌.mp3")}));
    EXPECT_EQ(entries.infos, QStringList({"#EXTINF:1,x", QStringLiteral("sub\\歌.mp3")}));
}

TEST_F(PlaylistFile, ReadsUtf8AndLeavesMissingEmptyAndBinaryFilesHarmless)
{
    writeBytes("utf8.m3u", "\xEF\xBB\xBF/\xE6\xAD\x8C.mp3\n");
    EXPECT_EQ(LoadPlaylist(path("utf8.m3u")).songs, QStringList(QStringLiteral("/歌.mp3")));

    writeBytes("empty.m3u", "");
    EXPECT_TRUE(LoadPlaylist(path("empty.m3u")).songs.isEmpty());
    EXPECT_TRUE(LoadPlaylist(path("missing.m3u")).songs.isEmpty());
    EXPECT_TRUE(LoadPlaylist(m_folder.path()).songs.isEmpty()); // a folder, not a file

    writeBytes("binary.m3u", QByteArray("\x00\xff\xfe\r\n\x80\x01", 7));
    const PlaylistEntries binary = LoadPlaylist(path("binary.m3u"));
    ASSERT_EQ(binary.songs.size(), 2);
    EXPECT_EQ(binary.songs.at(1), path("€") + QChar(1));
}

TEST_F(PlaylistFile, HandlesAHundredThousandEntries)
{
    QStringList songs;
    for (int i = 0; i < 100'000; ++i)
        songs.append(QStringLiteral("/音乐/%1.mp3").arg(i));
    ASSERT_TRUE(SavePlaylist(path("big.m3u"), songs).ok);
    EXPECT_EQ(LoadPlaylist(path("big.m3u")).songs, songs);
}

TEST_F(PlaylistFile, ReportsAFileThatCannotBeWritten)
{
    writeBytes("plain", "x");
    const WriteResult result = SavePlaylist(path("plain/list.m3u"), {"/m/a.mp3"});
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
}

} // namespace
