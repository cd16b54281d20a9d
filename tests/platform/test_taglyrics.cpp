#include "platform/taglyrics.h"

#include <functional>

#include <sys/stat.h>

#include <taglib/apetag.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/xiphcomment.h>

#include "gstfixtures.h"
#include "lyrics/lyricparser.h"
#include "support/files.h"

namespace {

using Synchronized = TagLib::ID3v2::SynchronizedLyricsFrame;
using Id3v2 = TagLib::ID3v2::Tag;
const TagLib::String::Type Utf8 = TagLib::String::UTF8;

Synchronized *synchronized(Synchronized::TimestampFormat format,
                           const Synchronized::SynchedTextList &lines)
{
    auto *frame = new Synchronized(Utf8);
    frame->setTimestampFormat(format);
    frame->setType(Synchronized::Lyrics);
    frame->setSynchedText(lines);
    return frame;
}

void addUnsynchronized(Id3v2 &tag, const TagLib::String &text, TagLib::String::Type encoding)
{
    auto *frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(encoding);
    frame->setText(text);
    tag.addFrame(frame);
}

// A generated file, the tags written into it, and what is read back: artist, title and the
// lyric texts.
struct TagCase
{
    const char *name;
    const char *encoder;
    std::function<void(const char *path)> write;
    QStringList read;
};

using TagLyricsTest = GstPlayerTest;

TEST_F(TagLyricsTest, LyricsComeFromEveryKindOfTag)
{
    const auto id3v2 = [](const std::function<void(Id3v2 &)> &fill) {
        return [fill](const char *path) {
            TagLib::MPEG::File file(path);
            fill(*file.ID3v2Tag(true));
            EXPECT_TRUE(file.save(TagLib::MPEG::File::ID3v2));
        };
    };
    const TagCase cases[] = {
        {"sylt.mp3",
         Mp3,
         id3v2([](Id3v2 &tag) {
             tag.setArtist({"王菲", Utf8});
             tag.setTitle({"红豆", Utf8});
             addUnsynchronized(tag, "[00:09.00]later", Utf8);
             tag.addFrame(synchronized(Synchronized::AbsoluteMpegFrames,
                                       Synchronized::SynchedTextList().append({5, "frames"})));
             tag.addFrame(synchronized(Synchronized::AbsoluteMilliseconds,
                                       Synchronized::SynchedTextList()
                                           .append({1500, {"还没", Utf8}})
                                           .append({62345, "two\nlines"})));
         }),
         {"王菲", "红豆", "[00:01.50]还没\n[01:02.34]two lines\n", "[00:09.00]later"}},
        // GB18030 bytes in a frame meant to be ISO-8859-1, as Chinese players wrote them, and
        // a text longer than any lyric file.
        {"legacy.mp3",
         Mp3,
         id3v2([](Id3v2 &tag) {
             addUnsynchronized(tag, std::string(MaxLyricFileBytes + 1, 'a'),
                               TagLib::String::Latin1);
             addUnsynchronized(tag, "[00:01.00]\xba\xec\xb6\xb9", TagLib::String::Latin1);
         }),
         {"", "", "[00:01.00]红豆"}},
        {"ape.mp3",
         Mp3,
         [](const char *path) {
             TagLib::MPEG::File file(path);
             file.APETag(true)->addValue("LYRICS", "[00:03.00]ape");
             EXPECT_TRUE(file.save(TagLib::MPEG::File::APE));
         },
         {"", "", "[00:03.00]ape"}},
        {"xiph.flac",
         "flacenc",
         [](const char *path) {
             TagLib::FLAC::File file(path);
             file.xiphComment(true)->addField("UNSYNCEDLYRICS", "[00:04.00]flac");
             EXPECT_TRUE(file.save());
         },
         {"", "", "[00:04.00]flac"}},
    };
    for (const TagCase &test : cases) {
        SCOPED_TRACE(test.name);
        const QString path = tone(test.name, 50, test.encoder);
        test.write(QFile::encodeName(path).constData());
        const SongTags tags = readSongTags(path);
        EXPECT_EQ(QStringList({tags.artist, tags.title}) + tags.lyricTexts, test.read);
    }
}

// What is no song gives no tags, and nothing waits on a named pipe.
TEST_F(TagLyricsTest, WhatIsNoSongHasNoTags)
{
    const QString pipe = m_folder.filePath("pipe.mp3");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : {writeFile(m_folder.filePath("text.mp3"), "[00:01.00]not audio\n"),
                                m_folder.filePath("missing.mp3"), pipe}) {
        const SongTags tags = readSongTags(path);
        EXPECT_TRUE(tags.artist.isEmpty() && tags.title.isEmpty() && tags.lyricTexts.isEmpty());
    }
}

} // namespace
