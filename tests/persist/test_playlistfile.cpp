#include "persist/playlistfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PlaylistFile, ParsesSongsAndTheirInformationLines)
{
    const struct
    {
        QString text;
        QStringList songs;
        QStringList infos;
    } cases[] = {
        {"/m/a.mp3\r\n\r\nb.mp3\n/m/c.wav",
         {"/m/a.mp3", "/lists/b.mp3", "/m/c.wav"},
         {"/m/a.mp3", "b.mp3", "/m/c.wav"}},
        {"#EXTM3U\r\n#EXTINF:1,a\r\n#EXTINF:2,b\r\nsong.mp3\r\n#EXTINF:3,c",
         {"/lists/song.mp3"},
         {"#EXTINF:2,b"}},
        {"#extinf:1,a\r\nmusic\\a.mp3",
         {"/lists/#extinf:1,a", "/lists/music/a.mp3"},
         {"#extinf:1,a", "music\\a.mp3"}},
        {"file:///home/My%20Music/%E6%AD%8C.mp3\r\n/m/a\\b.mp3",
         {"/home/My Music/歌.mp3", "/m/a\\b.mp3"},
         {"file:///home/My%20Music/%E6%AD%8C.mp3", "/m/a\\b.mp3"}},
    };
    for (const auto &c : cases) {
        const PlaylistEntries entries = parsePlaylist(c.text, QStringLiteral("/lists/"));
        EXPECT_EQ(entries.songs, c.songs) << c.text.toStdString();
        EXPECT_EQ(entries.infos, c.infos);
    }
}

struct PlaylistFiles : testing::Test
{
    QString path(const QString &name) const { return m_folder.filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    QTemporaryDir m_folder;
};

// Paths holding a line break or the information marker must survive in another way, and
// GB18030 bytes that happen to be valid UTF-8 must not be read as UTF-8.
TEST_F(PlaylistFiles, WritesGb18030WithCrLfAndReadsItBack)
{
    ASSERT_TRUE(SavePlaylist(path("a.m3u"), {"/音乐/a.mp3", "/m/b.wma"}).ok);
    QFile file(path("a.m3u"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "\x2f\xd2\xf4\xc0\xd6/a.mp3\r\n/m/b.wma\r\n");

    const QStringList songs = {"/图片/一.mp3", "/m/😀 €5.mp3", "/m/a#EXTINF:1,b.mp3",
                               "/m/line\nbreak.mp3", "/m/100%?#x.mp3"};
    for (const QStringList &list : {songs, songs.mid(0, 1)}) {
        ASSERT_TRUE(SavePlaylist(path("list.m3u"), list).ok);
        EXPECT_EQ(LoadPlaylist(path("list.m3u")).songs, list);
    }
    EXPECT_FALSE(SavePlaylist(path("a.m3u/list.m3u"), songs).ok);
}

TEST_F(PlaylistFiles, ResolvesRelativeLinesAgainstTheListsFolder)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("lists"));
    const PlaylistEntries entries = LoadPlaylist(
        write("lists/x.m3u", "#EXTM3U\r\n#EXTINF:1,x\r\nsong.mp3\r\nsub\\\xb8\xe8.mp3"));
    EXPECT_EQ(entries.songs, QStringList({path("lists/song.mp3"), path("lists/sub/歌.mp3")}));
    EXPECT_EQ(entries.infos, QStringList({"#EXTINF:1,x", "sub\\歌.mp3"}));
}

TEST_F(PlaylistFiles, ReadsUtf8AndLeavesMissingEmptyAndBinaryFilesHarmless)
{
    EXPECT_EQ(LoadPlaylist(write("utf8.m3u", "\xEF\xBB\xBF/\xE6\xAD\x8C.mp3\n")).songs,
              QStringList("/歌.mp3"));
    EXPECT_TRUE(LoadPlaylist(write("empty.m3u", "")).songs.isEmpty());
    EXPECT_TRUE(LoadPlaylist(path("missing.m3u")).songs.isEmpty());
    const PlaylistEntries binary =
        LoadPlaylist(write("bin.m3u", QByteArray("\x00\xff\r\n\x80\x01", 6)));
    EXPECT_EQ(binary.songs,
              QStringList({path(QString(QChar(0)) + QChar(0xFFFD)), path("€") + QChar(1)}));
}

TEST_F(PlaylistFiles, HandlesAHundredThousandEntries)
{
    QStringList songs;
    for (int i = 0; i < 100'000; ++i)
        songs.append(QStringLiteral("/音乐/%1.mp3").arg(i));
    ASSERT_TRUE(SavePlaylist(path("big.m3u"), songs).ok);
    EXPECT_EQ(LoadPlaylist(path("big.m3u")).songs, songs);
}

} // namespace
