#include <random>

#include <gtest/gtest.h>

#include "persist/listfiles.h"
#include "persist/playlistfile.h"
#include "persist/settingsfile.h"
#include "persist/textcodec.h"
#include "support/qtprinters.h"

// Random, mutated and truncated bytes through every reader: none may crash or hang, and
// what they return keeps its invariants. The seed is fixed, so a failure repeats.

namespace {

void checkReaders(const QByteArray &bytes)
{
    const QString text = decodeText(bytes).value();
    SCOPED_TRACE(bytes.toHex().toStdString());
    const PlaylistEntries playlist = parsePlaylist(text, QStringLiteral("/base/"));
    ASSERT_EQ(playlist.songs.size(), playlist.infos.size());
    ASSERT_FALSE(playlist.songs.contains(QString()));
    // Whatever was read is written so that it reads back as itself.
    const QStringList written = formatPlaylist(playlist.songs, QStringLiteral("/base/"));
    ASSERT_EQ(parsePlaylist(written.join("\r\n"), QStringLiteral("/base/")).songs, playlist.songs);

    SettingsRecord record;
    record.volume = -7;
    record.windowLeftTwips = 15;
    const SettingsLoad load = applySettings(text, record);
    ASSERT_TRUE(load != SettingsLoad::WrongMarker || record.volume == -7);
    ASSERT_TRUE(load != SettingsLoad::Failed || record.windowLeftTwips == 0);
    ASSERT_TRUE(load != SettingsLoad::Applied || splitLines(text).size() >= 17);

    const bool hasEndLine = splitLines(text).contains(QStringLiteral("[END]"));
    const ListFileEntries pictures = parsePicList(text, QStringLiteral("/program"));
    ASSERT_EQ(pictures.hasEndMark, hasEndLine);
    for (const QString &picture : pictures.items)
        ASSERT_TRUE(picture.startsWith(u'/') && picture != QStringLiteral("[END]"));
    const ListFileEntries folders = parseLyricDirList(text);
    ASSERT_EQ(folders.hasEndMark, hasEndLine);
    ASSERT_FALSE(folders.items.contains(QStringLiteral("[END]")));
}

TEST(FuzzReaders, SurviveRandomMutatedAndTruncatedBytes)
{
    const QList<QByteArray> seeds = {
        encodeGb18030(formatSettings(SettingsRecord()).join("\r\n")).value(),
        encodeGb18030(QStringLiteral("#EXTM3U\r\n#EXTINF:1,歌\r\n# c\r歌.mp3\r\nfile:///a%20b\r\n"
                                     "\\x\r\nhttp://h/s\r./#y\r\n"))
            .value(),
        encodeGb18030(QStringLiteral("sunset.jpg\r\n/图片/a.bmp\r\n\r\n[END]\r\n/x\r\n")).value(),
    };
    const QByteArray alphabet("\r\n#EXTM3U[END]/\\:0123456789.-eTrue "
                              "\x80\xa2\xe3\xef\xbb\xbf\xe6\xad\x8c\xfe\xff");
    std::mt19937 generator(20250101);
    const auto below = [&generator](qsizetype bound) {
        return std::uniform_int_distribution<qsizetype>(0, bound - 1)(generator);
    };
    for (int round = 0; round < 3000 && !testing::Test::HasFatalFailure(); ++round) {
        QByteArray bytes = seeds.at(below(seeds.size()));
        if (round % 2 == 0) {
            bytes.resize(below(300));
            for (char &byte : bytes)
                byte = below(4) == 0 ? char(below(256)) : alphabet.at(below(alphabet.size()));
        } else {
            for (int change = below(8); change >= 0; --change)
                bytes[below(bytes.size())] = char(below(256));
            bytes.truncate(below(bytes.size() + 1));
        }
        checkReaders(bytes);
    }
}

} // namespace
