#include "persist/textcodec.h"

#include <iconv.h>

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

namespace {

// Our own files are GB18030 and read back as written, bytes that do not decode too: they are
// written back as they were read and shown as U+FFFD. Others are told apart by their bytes.
TEST(TextCodec, ReadsWhatItWritesAndChoosesTheEncodingOfOthers)
{
    struct Case
    {
        const char *hex;
        QString shown;
        bool isGb18030; // the bytes the writers give for the text read
    };
    const QChar bad = QChar::ReplacementCharacter;
    const Case cases[] = {
        {"", QString(), true},
        {"9439c934", QStringLiteral("🐀"), true},           // its low surrogate is U+DC00
        {"cbcecc", QStringLiteral("宋") + bad, true},      // cut at the end
        {"9439fc", bad + QStringLiteral("9") + bad, true}, // cut 4-byte form
        {"ff6100", bad + QStringLiteral("a") + QChar(0), true},
        {"d2f4c0d6e9ff8061", QStringLiteral("音乐") + bad + bad + QStringLiteral("€a"), true},
        {"efbbbfe5ae8be4bd93", QStringLiteral("宋体"), false},
        {"61e5ae8b", QStringLiteral("a宋"), false},
        {"fffe8b5b534f0d00", QStringLiteral("宋体\r"), false},
        {"feff5b8b4f530061", QStringLiteral("宋体a"), false},
        {"fffe610000dc6200", QStringLiteral("a\uFFFDb"), false}, // an unpaired surrogate
    };
    for (const Case &test : cases) {
        const QString text = decodeText(QByteArray::fromHex(test.hex)).value_or("failed");
        EXPECT_EQ(displayText(text), test.shown) << test.hex;
        if (test.isGb18030)
            EXPECT_EQ(encodeGb18030(text).value_or("failed").toHex(), test.hex);
        else
            EXPECT_EQ(text, test.shown) << "nothing of it is kept to write back";
    }
    // A file of ours reads back as written, also where its bytes would begin with a mark; each
    // line ends in CR LF.
    for (const QString &text : {QStringLiteral("图片"), QStringLiteral("\uFEFFa"),
                                decodeText("\x84\x31\x95\x33\xFF\xFE"
                                           "a")
                                    .value_or("failed")}) {
        EXPECT_EQ(decodeText(encodeFileLines({text}).value_or("failed")), text + "\r\n");
    }
    // A text marked as UTF-8 keeps its stray bytes too, in the GB18030 it is written in.
    const std::optional<QString> marked = decodeText("\xEF\xBB\xBF\xE5\xAE\x8B\xE9");
    EXPECT_EQ(encodeGb18030(marked.value_or("failed")).value_or("failed").toHex(), "cbcee9");
}

// The C library's GB18030 bytes of one character given as UTF-8; "?" when it has none.
QByteArray libraryBytes(iconv_t cd, const QByteArray &utf8)
{
    char out[8];
    char *in = const_cast<char *>(utf8.constData());
    char *at = out;
    size_t inLeft = size_t(utf8.size()), outLeft = sizeof out;
    const bool converted = iconv(cd, &in, &inLeft, &at, &outLeft) != size_t(-1);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return converted ? QByteArray(out, at - out) : QByteArray("?");
}

// Every character of the first plane, in one text, gets the bytes the C library gives it
// alone (the euro sign the byte of code page 936).
TEST(TextCodec, EveryFirstPlaneCharacterIsWrittenAsTheCLibraryWritesIt)
{
    const iconv_t cd = iconv_open("GB18030", "UTF-8");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)); // NOLINT(performance-no-int-to-ptr)
    QString text;
    QByteArray expected;
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        if (QChar::isSurrogate(unit))
            continue;
        const QString character = QChar(char16_t(unit));
        text += character;
        expected += unit == 0x20AC ? QByteArray("\x80") : libraryBytes(cd, character.toUtf8());
    }
    iconv_close(cd);
    EXPECT_EQ(encodeGb18030(text).value_or("failed"), expected);
}

// CR LF is one line end, whatever else is one each. CR LF and a last line end are the
// settings' and the list files' unit tests.
TEST(TextCodec, SplitsLinesAtCarriageReturnsLineFeedsAndBoth)
{
    EXPECT_EQ(splitLines("a\n\rb\r\rc"), QStringList({"a", "", "b", "", "c"}));
}

struct TagCase
{
    const char *what;
    const char *hex;
    QString shown;
};

// Legacy tag fields as GStreamer hands them over, their bytes read as ISO-8859-1.
TEST(TextCodec, LegacyTagTextIsGb18030WhenChineseAndOtherwiseAsItCame)
{
    const TagCase cases[] = {
        {"GB18030 Chinese amid ASCII", "41cdf5b7c62031", u"A王菲 1"_qs},
        {"Japanese kana", "a4a2a4a4a4a6", u"あいう"_qs},
        {"a character cut off by a fixed-length field", "d6dcbddcc2d7d6", u"周杰伦"_qs},
        {"Latin-1 whose 'ör' is a GB18030 character too", "426af6726b", u"Björk"_qs},
        {"GB18030 Chinese beside a byte that does not decode", "41cdf5ff30", u"AÍõÿ0"_qs},
        {"GB18030 without Chinese (a Greek letter)", "a6a1", u"¦¡"_qs},
    };
    for (const TagCase &entry : cases)
        EXPECT_EQ(legacyTagText(QString::fromLatin1(QByteArray::fromHex(entry.hex))), entry.shown)
            << entry.what;
    EXPECT_EQ(legacyTagText(u"Ωàá"_qs), u"Ωàá"_qs) << "above U+00FF: not read as Latin-1";
}

} // namespace
