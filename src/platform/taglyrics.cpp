#include "platform/taglyrics.h"

#include <QFile>
#include <QFileInfo>

#include <taglib/apetag.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/rifffile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include "lyrics/lyricparser.h"
#include "persist/textcodec.h"

namespace {

using SynchronizedFrame = TagLib::ID3v2::SynchronizedLyricsFrame;

QString tagText(const TagLib::String &text)
{
    return legacyTagText(QString::fromStdString(text.to8Bit(true)));
}

// A character takes a byte at least, so a text of more characters than a lyric file may
// have bytes would not be read as a file either.
bool isTooLong(qsizetype characters)
{
    return characters > MaxLyricFileBytes;
}

// The lines of a synchronised lyrics frame as LRC text, "[mm:ss.xx]text" each (a line's
// breaks become spaces); "" for a frame that is not timed in milliseconds or holds no lyrics.
QString lrcText(const SynchronizedFrame &frame)
{
    const SynchronizedFrame::Type type = frame.type();
    if (frame.timestampFormat() != SynchronizedFrame::AbsoluteMilliseconds ||
        (type != SynchronizedFrame::Lyrics && type != SynchronizedFrame::TextTranscription &&
         type != SynchronizedFrame::Other))
        return {};
    QString lrc;
    for (const SynchronizedFrame::SynchedText &line : frame.synchedText()) {
        const unsigned int centiseconds = line.time / 10;
        lrc += QStringLiteral("[%1:%2.%3]")
                   .arg(centiseconds / 6000, 2, 10, QLatin1Char('0'))
                   .arg(centiseconds / 100 % 60, 2, 10, QLatin1Char('0'))
                   .arg(centiseconds % 100, 2, 10, QLatin1Char('0'));
        lrc += tagText(line.text).simplified() + u'\n';
        if (isTooLong(lrc.size()))
            return {};
    }
    return lrc;
}

void addText(QStringList &texts, const TagLib::String &text)
{
    if (!text.isEmpty() && !isTooLong(qsizetype(text.size())))
        texts.append(tagText(text));
}

void addFrames(QStringList &texts, const TagLib::ID3v2::Tag *tag)
{
    if (!tag)
        return;
    for (const TagLib::ID3v2::Frame *frame : tag->frameList("SYLT")) {
        if (const auto *synchronized = dynamic_cast<const SynchronizedFrame *>(frame)) {
            if (const QString lrc = lrcText(*synchronized); !lrc.isEmpty())
                texts.append(lrc);
        }
    }
    for (const TagLib::ID3v2::Frame *frame : tag->frameList("USLT")) {
        if (const auto *lyrics =
                dynamic_cast<const TagLib::ID3v2::UnsynchronizedLyricsFrame *>(frame))
            addText(texts, lyrics->text());
    }
}

// The lyric fields among `properties`: "LYRICS" (with or without a description after a
// colon) and Xiph's "UNSYNCEDLYRICS".
void addProperties(QStringList &texts, const TagLib::PropertyMap &properties)
{
    for (const auto &[key, values] : properties) {
        if (key == "LYRICS" || key == "UNSYNCEDLYRICS" || key.startsWith("LYRICS:")) {
            for (const TagLib::String &value : values)
                addText(texts, value);
        }
    }
}

// Every lyric text of `file`, best first. A file may carry several tags, while its
// properties come from one of them only: the ID3v2 frames, and the APE or Xiph tag beside
// them, are read on their own.
QStringList lyricTexts(TagLib::File &file)
{
    QStringList texts;
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(&file)) {
        addFrames(texts, mpeg->ID3v2Tag());
        if (const TagLib::APE::Tag *ape = mpeg->APETag())
            addProperties(texts, ape->properties());
    } else if (auto *flac = dynamic_cast<TagLib::FLAC::File *>(&file)) {
        addFrames(texts, flac->ID3v2Tag());
        if (const TagLib::Ogg::XiphComment *xiph = flac->xiphComment())
            addProperties(texts, xiph->properties());
    } else if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(&file)) {
        addFrames(texts, wav->ID3v2Tag());
    } else if (auto *id3v2 = dynamic_cast<TagLib::ID3v2::Tag *>(file.tag())) {
        addFrames(texts, id3v2);
    }
    // Mostly a repeat of one of the tags read above.
    addProperties(texts, file.properties());
    texts.removeDuplicates();
    return texts;
}

} // namespace

SongTags readSongTags(const QString &songPath)
{
    // TagLib would wait on a named pipe or a device as on a file.
    if (!QFileInfo(songPath).isFile())
        return {};
    const QByteArray name = QFile::encodeName(songPath);
    const TagLib::FileRef song(name.constData(), false);
    if (song.isNull() || !song.tag())
        return {};
    return {tagText(song.tag()->artist()), tagText(song.tag()->title()), lyricTexts(*song.file())};
}
