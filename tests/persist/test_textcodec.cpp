#include "persist/textcodec.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>
namespace {

// Our own files are GB18030 and read back as written; others are told apart by their
// bytes.
TEST(TextCodec, WritesGb18030AndChoosesTheEncodingWhenReading)
{
    // The bytes, the text they read as, and whether they are the GB18030 bytes of the text, as
    // the writers give them.
    const std::tuple<const char *, QString, bool> cases[] = {
        {"2fd2f4c0d62fb8e82e6d7033", QStringLiteral("/音乐/歌.mp3"), true},
        {"9439fc36", QStringLiteral("😀"), true}, // missing from code page 936
        {"3580", QStringLiteral("5€"), true},
        {"", QString(), true},
        {"efbbbfe5ae8be4bd93", QStringLiteral("宋体"), false},
        {"61e5ae8b", QStringLiteral("a宋"), false},
        {"fffe8b5b534f0d00", QStringLiteral("宋体\r"), false},
        {"feff5b8b4f530061", QStringLiteral("宋体a"), false},
        {"ff6100", QString(u'\xFFFD') + u'a' + QChar(0), false},
        {"cbcecc", QStringLiteral("宋") + QChar(0xFFFD), false}};
    for (const auto &[hex, text, written] : cases) {
        EXPECT_EQ(decodeText(QByteArray::fromHex(hex)), text) << hex;
        if (written) {
            EXPECT_EQ(encodeGb18030(text).value_or("failed").toHex(), hex);
        }
    }
}

TEST(TextCodec, SplitsLinesAtCarriageReturnsLineFeedsAndBoth)
{
    const std::pair<QString, QStringList> cases[] = {{"", {}},
                                                     {"a\r\nb\nc\r\n", {"a", "b", "c"}},
                                                     {"a\r\n\r\n", {"a", ""}},
                                                     {"a\rb\r", {"a", "b"}},
                                                     {"a\n\rb\r\rc", {"a", "", "b", "", "c"}}};
    for (const auto &[text, lines] : cases)
        EXPECT_EQ(splitLines(text), lines) << text.toStdString();
}

} // namespace
