#include <random>

#include <gtest/gtest.h>

#include "persist/listfiles.h"
#include "persist/playlistfile.h"
#include "persist/settingsfile.h"
#include "persist/textcodec.h"

// Random, mutated and truncated bytes through every reader: none may crash or hang, and
// what they return keeps its invariants. The generator has a fixed seed, so a failure
// repeats.

namespace {

SettingsRecord startRecord()
{
    SettingsRecord record;
    record.windowLeftTwips = 15;
    record.shared.SnapPixels = 3;
    record.volume = -7;
    return record;
}

void checkReaders(const QByteArray &bytes)
{
    const QString text = decodeText(bytes);
    SCOPED_TRACE(bytes.toHex().toStdString());

    const PlaylistEntries playlist = parsePlaylist(text, QStringLiteral("/base/"));
    ASSERT_EQ(playlist.songs.size(), playlist.infos.size());
    for (const QString &song : playlist.songs)
        ASSERT_FALSE(song.isEmpty());

    SettingsRecord record = startRecord();
    switch (applySettings(text, record)) {
    case SettingsLoad::WrongMarker:
        ASSERT_EQ(record, startRecord());
        break;
    case SettingsLoad::Failed:
        ASSERT_EQ(record.windowLeftTwips, 0);
        ASSERT_EQ(record.shared, SharedSettings());
        break;
    case SettingsLoad::Applied:
        ASSERT_GE(splitLines(text).size(), 17);
        break;
    }

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
    SettingsRecord known;
    known.lyricFont.name = QStringLiteral("宋体😀");
    const QList<QByteArray> seeds = {
        encodeText(formatSettings(known).join("\r\n")),
        encodeText(QStringLiteral("#EXTM3U\r\n#EXTINF:1,歌\r\n歌.mp3\r\nfile:///a%20b\r\n\\x\r\n")),
        encodeText(QStringLiteral("sunset.jpg\r\n/图片/a.bmp\r\n\r\n[END]\r\n/x\r\n")),
        QByteArray("\xEF\xBB\xBF[DONTCHANGETHISSET]\n1\n2\n\xE6\xAD\x8C\n"),
    };
    // Bytes that matter to the readers and the decoder, and any byte at all.
    const QByteArray alphabet("\r\n#EXTM3U[END]/\\:0123456789.-eTrue \x80\x81\xa2\xe3\xef\xbb\xbf"
                              "\xe6\xad\x8c\x94\x39\xfc\x36");
    std::mt19937 generator(20250101);
    const auto below = [&generator](qsizetype bound) {
        return std::uniform_int_distribution<qsizetype>(0, bound - 1)(generator);
    };

    for (const QByteArray &seed : seeds) {
        for (qsizetype length = 0; length <= seed.size(); ++length)
            checkReaders(seed.left(length));
    }
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        if (round % 2 == 0) {
            bytes.resize(below(300));
            for (char &byte : bytes)
                byte = below(4) == 0 ? char(below(256)) : alphabet.at(below(alphabet.size()));
        } else {
            bytes = seeds.at(below(seeds.size()));
            for (int change = below(8); change >= 0; --change)
                bytes[below(bytes.size())] = char(below(256));
            bytes.truncate(below(bytes.size() + 1));
        }
        checkReaders(bytes);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace
