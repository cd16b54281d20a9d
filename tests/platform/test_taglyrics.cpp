#include "platform/taglyrics.h"

#include <sys/stat.h>

#include <taglib/apetag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/unsynchronizedlyricsframe.h>

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

using TagLyricsTest = GstPlayerTest;

// An MP3 with an ID3v2 tag of each kind of frame (among them GB18030 bytes in a frame meant
// to be ISO-8859-1, as Chinese players wrote them, and a text longer than any lyric file) and
// an APE tag beside it with both names of a lyric field (Xiph comments use the second).
TEST_F(TagLyricsTest, LyricsComeFromEveryKindOfTag)
{
    const QString mp3 = tone("tags.mp3", 50, Mp3);
    {
        TagLib::MPEG::File file(QFile::encodeName(mp3).constData());
        Id3v2 &tag = *file.ID3v2Tag(true);
        tag.setArtist({"王菲", Utf8});
        tag.setTitle({"红豆", Utf8});
        addUnsynchronized(tag, "[00:09.00]later", Utf8);
        addUnsynchronized(tag, std::string(MaxLyricFileBytes + 1, 'a'), TagLib::String::Latin1);
        addUnsynchronized(tag, "[00:01.00]\xba\xec\xb6\xb9", TagLib::String::Latin1);
        tag.addFrame(synchronized(Synchronized::AbsoluteMpegFrames,
                                  Synchronized::SynchedTextList().append({5, "frames"})));
        tag.addFrame(
            synchronized(Synchronized::AbsoluteMilliseconds, Synchronized::SynchedTextList()
                                                                 .append({1500, {"还没", Utf8}})
                                                                 .append({62345, "two\nlines"})));
        file.APETag(true)->addValue("LYRICS", "[00:03.00]ape");
        file.APETag()->addValue("UNSYNCEDLYRICS", "[00:04.00]unsynced");
        ASSERT_TRUE(file.save(TagLib::MPEG::File::ID3v2 | TagLib::MPEG::File::APE));
    }
    const SongTags tags = readSongTags(mp3);
    EXPECT_EQ(
        QStringList({tags.artist, tags.title}) + tags.lyricTexts,
        QStringList({"王菲", "红豆", "[00:01.50]还没\n[01:02.34]two lines\n", "[00:09.00]later",
                     "[00:01.00]红豆", "[00:03.00]ape", "[00:04.00]unsynced"}));
}

// What is no song gives no tags, and nothing waits on a named pipe.
TEST_F(TagLyricsTest, WhatIsNoSongHasNoTags)
{
    const QString pipe = m_folder.filePath("pipe.mp3");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path :
         {writeFile(m_folder.filePath("text.mp3"), "[00:01.00]not audio\n"), pipe}) {
        const SongTags tags = readSongTags(path);
        EXPECT_TRUE(tags.artist.isEmpty() && tags.title.isEmpty() && tags.lyricTexts.isEmpty());
    }
}

} // namespace
