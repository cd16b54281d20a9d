#include "platform/taglyrics.h"

#include <functional>
#include <initializer_list>
#include <utility>

#include <sys/stat.h>

#include <taglib/apetag.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include "gstfixtures.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyriclookup.h"
#include "lyrics/lyricparser.h"
#include "support/files.h"

namespace {

using Synchronized = TagLib::ID3v2::SynchronizedLyricsFrame;

TagLib::String utf8(const char *text)
{
    return {text, TagLib::String::UTF8};
}

Synchronized *synchronized(Synchronized::TimestampFormat format,
                           std::initializer_list<Synchronized::SynchedText> lines)
{
    auto *frame = new Synchronized(TagLib::String::UTF8);
    frame->setTimestampFormat(format);
    frame->setType(Synchronized::Lyrics);
    Synchronized::SynchedTextList list;
    for (const Synchronized::SynchedText &line : lines)
        list.append(line);
    frame->setSynchedText(list);
    return frame;
}

TagLib::ID3v2::UnsynchronizedLyricsFrame *unsynchronized(const TagLib::String &text)
{
    auto *frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(
        text.isLatin1() ? TagLib::String::Latin1 : TagLib::String::UTF8);
    frame->setText(text);
    return frame;
}

// An MP3 whose ID3v2 tag `fill` fills.
std::function<void(const QString &)> id3v2(std::function<void(TagLib::ID3v2::Tag &)> fill)
{
    return [fill = std::move(fill)](const QString &path) {
        TagLib::MPEG::File file(QFile::encodeName(path).constData());
        fill(*file.ID3v2Tag(true));
        EXPECT_TRUE(file.save(TagLib::MPEG::File::ID3v2));
    };
}

// What the tags of a generated file say, and how many timed lines the lookup shows of them.
struct TagCase
{
    const char *what;
    const char *name;
    const char *encoder;
    std::function<void(const QString &path)> write;
    SongTags tags;
    int timedLines = 0;
};

using TagLyricsTest = GstPlayerTest;

TEST_F(TagLyricsTest, LyricsComeFromEveryKindOfTag)
{
    // "红豆" in GB18030, as Chinese players wrote ID3v2 frames meant to be ISO-8859-1.
    const QByteArray legacy = "[00:01.00]\xba\xec\xb6\xb9";
    const TagCase cases[] = {
        {"synchronised in milliseconds first, then unsynchronised",
         "sylt.mp3",
         Mp3,
         id3v2([](TagLib::ID3v2::Tag &tag) {
             tag.setArtist(utf8("王菲"));
             tag.setTitle(utf8("红豆"));
             tag.addFrame(unsynchronized("[00:09.00]later"));
             tag.addFrame(synchronized(Synchronized::AbsoluteMpegFrames, {{5, "frames"}}));
             tag.addFrame(synchronized(Synchronized::AbsoluteMilliseconds,
                                       {{1500, utf8("还没")}, {62345, "two\nlines"}}));
         }),
         {"王菲", "红豆", {"[00:01.50]还没\n[01:02.34]two lines\n", "[00:09.00]later"}},
         2},
        {"unsynchronised without time tags",
         "plain.mp3",
         Mp3,
         id3v2([](TagLib::ID3v2::Tag &tag) { tag.addFrame(unsynchronized("just words")); }),
         {"", "", {"just words"}},
         0},
        {"a legacy 8-bit frame",
         "legacy.mp3",
         Mp3,
         id3v2([&](TagLib::ID3v2::Tag &tag) {
             tag.addFrame(
                 unsynchronized(TagLib::String(legacy.constData(), TagLib::String::Latin1)));
         }),
         {"", "", {"[00:01.00]红豆"}},
         1},
        {"a text too long for a lyric file",
         "long.mp3",
         Mp3,
         id3v2([](TagLib::ID3v2::Tag &tag) {
             tag.addFrame(unsynchronized(std::string(MaxLyricFileBytes + 1, 'a')));
             tag.addFrame(unsynchronized("[00:02.00]short"));
         }),
         {"", "", {"[00:02.00]short"}},
         1},
        {"APE beside the MPEG frames",
         "ape.mp3",
         Mp3,
         [](const QString &path) {
             TagLib::MPEG::File file(QFile::encodeName(path).constData());
             file.APETag(true)->addValue("LYRICS", "[00:03.00]ape");
             EXPECT_TRUE(file.save(TagLib::MPEG::File::APE));
         },
         {"", "", {"[00:03.00]ape"}},
         1},
        {"Xiph in FLAC",
         "xiph.flac",
         "flacenc",
         [](const QString &path) {
             TagLib::FLAC::File file(QFile::encodeName(path).constData());
             file.xiphComment(true)->addField("LYRICS", "[00:04.00]flac");
             EXPECT_TRUE(file.save());
         },
         {"", "", {"[00:04.00]flac"}},
         1},
        {"Xiph's unsynchronised field in Ogg",
         "xiph.ogg",
         "vorbisenc ! oggmux",
         [](const QString &path) {
             TagLib::Ogg::Vorbis::File file(QFile::encodeName(path).constData());
             file.tag()->setTitle("Ogg");
             file.tag()->addField("UNSYNCEDLYRICS", "[00:05.00]ogg");
             EXPECT_TRUE(file.save());
         },
         {"", "Ogg", {"[00:05.00]ogg"}},
         1},
    };
    for (const TagCase &test : cases) {
        SCOPED_TRACE(test.what);
        const QString path = tone(test.name, 50, test.encoder);
        test.write(path);
        const SongTags tags = readSongTags(path);
        EXPECT_EQ(tags.artist, test.tags.artist);
        EXPECT_EQ(tags.title, test.tags.title);
        EXPECT_EQ(tags.lyricTexts, test.tags.lyricTexts);
        LyricList list;
        EXPECT_EQ(FindSongLyric(path, {}, readSongTags, list), test.timedLines > 0);
        EXPECT_EQ(list.count(), test.timedLines > 0 ? test.timedLines + 1 : 0);
    }
}

// What is no song gives no tags, and nothing waits on a named pipe.
TEST_F(TagLyricsTest, WhatIsNoSongHasNoTags)
{
    const QString pipe = m_folder.filePath("pipe.mp3");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : {writeFile(m_folder.filePath("text.mp3"), "[00:01.00]not audio\n"),
                                m_folder.path(), m_folder.filePath("missing.mp3"), pipe}) {
        SCOPED_TRACE(path.toStdString());
        const SongTags tags = readSongTags(path);
        EXPECT_TRUE(tags.artist.isEmpty() && tags.title.isEmpty() && tags.lyricTexts.isEmpty());
    }
}

} // namespace
