#include "persist/playlistfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/qtprinters.h"

namespace {

TEST(PlaylistFile, ParsesSongsAndTheirInformationLines)
{
    // The text of a list in "/lists/", its songs and their information lines.
    const std::tuple<QString, QStringList, QStringList> cases[] = {
        {"/m/a.mp3\r\n\r\nb.mp3\n/m/c.wav\r./d.mp3",
         {"/m/a.mp3", "/lists/b.mp3", "/m/c.wav", "/lists/d.mp3"},
         {"/m/a.mp3", "b.mp3", "/m/c.wav", "./d.mp3"}},
        {"#EXTM3U\r\n#EXTINF:1,a\r\n#EXTINF:2,b\r\nsong.mp3\r\n#EXTINF:3,c",
         {"/lists/song.mp3"},
         {"#EXTINF:2,b"}},
        // Comment lines are never entries and do not part an information line from its
        // entry; a blank line does.
        {"# Note: x\r#EXTINF:1,a\r  # between\r#PLAYLIST:y\rmusic\\a.mp3\r#extinf:2,b\r"
         "#EXTINF:3,c\r\rb.mp3\r# test",
         {"/lists/music/a.mp3", "/lists/b.mp3"},
         {"#EXTINF:1,a", "b.mp3"}},
        {"file:///home/My%20Music/%E6%AD%8C.mp3\r\n/m/a\\b.mp3",
         {"/home/My Music/歌.mp3", "/m/a\\b.mp3"},
         {"file:///home/My%20Music/%E6%AD%8C.mp3", "/m/a\\b.mp3"}},
        // Streams stay as written; a drive letter is no scheme.
        {"http://radio.example/live\r\n#EXTINF:-1,Radio\r\nHTTPS://a.example/b?c=d#e\r\n"
         "rtsp://h:554/s#EXT\r\nmms://m/x\r\nc://x.mp3\r\nab://x",
         {"http://radio.example/live", "HTTPS://a.example/b?c=d#e", "rtsp://h:554/s#EXT",
          "mms://m/x", "/lists/c://x.mp3", "ab://x"},
         {"http://radio.example/live", "#EXTINF:-1,Radio", "rtsp://h:554/s#EXT", "mms://m/x",
          "c://x.mp3", "ab://x"}},
    };
    for (const auto &[text, songs, infos] : cases) {
        const PlaylistEntries entries = parsePlaylist(text, QStringLiteral("/lists/"));
        EXPECT_EQ(entries.songs, songs) << text.toStdString();
        EXPECT_EQ(entries.infos, infos);
    }
}

// Paths that would read back as something else must survive in another way, and GB18030
// bytes that happen to be valid UTF-8 must not be read as UTF-8. The saved bytes themselves,
// GB18030 with CR LF, are checked by the whole-program tests (saved_list_is in tests/app).
TEST(PlaylistFile, ReadsBackEverySongItWrote)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("list.m3u");

    // Relative songs read back in the list's folder.
    const QStringList relative = {"#a.mp3", "  # b.mp3", "#EXTINF.mp3"};
    QStringList songs = {"/图片/一.mp3",       "/m/😀 €5.mp3",  "/m/a#EXTINF:1,b.mp3",
                         "/m/line\nbreak.mp3", "/m/cr\rx.mp3", "/m/100%?#x.mp3",
                         "rtsp://h/s"};
    for (const QString &name : relative)
        songs.append(folder.filePath(name));
    ASSERT_TRUE(SavePlaylist(path, songs).ok);
    EXPECT_EQ(LoadPlaylist(path).value.songs, songs);
    ASSERT_TRUE(SavePlaylist(path, relative).ok);
    EXPECT_EQ(LoadPlaylist(path).value.songs, songs.mid(7));
}

} // namespace
