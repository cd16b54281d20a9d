#include <QTemporaryDir>
#include <QTest>

#include <gst/gst.h>

#include <gtest/gtest.h>

#include "platform/gstmediacontrol.h"
#include "platform/gsttrack.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

// ID3v2.3 with the artist and title as ISO-8859-1 frames (encoding byte 0) of the bytes given.
QByteArray id3v2Tag(const QByteArray &artist, const QByteArray &title)
{
    QByteArray frames;
    for (const auto &[id, text] : {std::pair{"TPE1", artist}, std::pair{"TIT2", title}})
        frames += id + QByteArray::fromHex(QByteArray::number(text.size() + 1, 16).rightJustified(8, '0')) +
                  QByteArray(3, '\0') + text;
    return QByteArray("ID3\x03\0\0\0\0\0", 9) + char(frames.size()) + frames;
}

struct TaggedFile
{
    QByteArray tag;
    QString artist, title;
};

// MP3 files that GStreamer encodes, behind (ID3v2) or before (ID3v1) tags whose texts are
// bytes in an 8-bit encoding, played to a fake sink: the player shows Chinese bytes as
// GB18030 and others as Latin-1.
TEST(LegacyTags, ChineseBytesReadAsGb18030AndOthersAsLatin1)
{
    gst_init(nullptr, nullptr);
    QTemporaryDir folder;
    const QString tone = folder.filePath("tone.mp3");
    g_autoptr(GstElement) encoder = gst_parse_launch(
        qPrintable("audiotestsrc num-buffers=15 ! lamemp3enc ! filesink location=" + tone), nullptr);
    gst_element_set_state(encoder, GST_STATE_PLAYING);
    g_autoptr(GstBus) bus = gst_element_get_bus(encoder);
    g_autoptr(GstMessage) done = gst_bus_timed_pop_filtered(bus, 20 * GST_SECOND, GST_MESSAGE_EOS);
    gst_element_set_state(encoder, GST_STATE_NULL);
    ASSERT_TRUE(done);
    const TaggedFile files[] = {
        {id3v2Tag("\xcd\xf5\xb7\xc6", "\xba\xec\xb6\xb9"), "王菲", "红豆"},
        {id3v2Tag("Bj\xf6rk", "J\xf3ga"), "Björk", "Jóga"},
        {"TAG" + QByteArray("Dr. Feelgood").leftJustified(30, '\0') +
             QByteArray("M\xf6tley Cr\xfc" "e").leftJustified(94, '\0') + '\xff',
         "Mötley Crüe", "Dr. Feelgood"},
    };
    GstMediaControl control([] { return gst_element_factory_make("fakesink", nullptr); });
    int opened = 0;
    QObject::connect(&control, &MediaControl::opened, [&] { ++opened; });
    for (const TaggedFile &file : files) {
        const QByteArray sound = readFile(tone);
        control.open(quint64(opened + 1), writeFile(folder.filePath(file.artist + ".mp3"),
                                                    file.tag.startsWith("ID3") ? file.tag + sound
                                                                               : sound + file.tag));
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened == &file - files + 1; }, 10000));
        EXPECT_EQ(control.mediaInfoString(MediaControl::InfoAuthor), file.artist);
        EXPECT_EQ(control.mediaInfoString(MediaControl::InfoTitle), file.title);
    }
    control.release();
    EXPECT_TRUE(GstTrack::waitForAllEnded(5000));
}

} // namespace
