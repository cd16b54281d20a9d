#include "persist/textcodec.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

namespace {

struct EncodingCase
{
    const char *name;
    QString text;
    QByteArray bytes;
};

void PrintTo(const EncodingCase &c, std::ostream *out)
{
    *out << c.name;
}

class TextCodecEncoding : public testing::TestWithParam<EncodingCase>
{
};

// Every text is written as its GB18030 bytes and read back unchanged; the euro sign
// takes its single code page 936 byte.
TEST_P(TextCodecEncoding, WritesGb18030AndReadsItBack)
{
    const EncodingCase &c = GetParam();
    EXPECT_EQ(encodeText(c.text).toHex(), c.bytes.toHex());
    EXPECT_EQ(decodeText(c.bytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextCodecEncoding,
    testing::Values(EncodingCase{"ascii", QStringLiteral("/music/a.mp3"), "/music/a.mp3"},
                    EncodingCase{"chinese_path", QStringLiteral("/音乐/歌.mp3"),
                                 QByteArray::fromHex("2fd2f4c0d62fb8e82e6d7033")},
                    EncodingCase{"emoji_missing_from_cp936", QStringLiteral("😀"),
                                 QByteArray::fromHex("9439fc36")},
                    EncodingCase{"ext_b_missing_from_cp936", QStringLiteral("a𠀀b"),
                                 QByteArray::fromHex("619532823662")},
                    EncodingCase{"euro", QStringLiteral("5€"), QByteArray::fromHex("3580")},
                    EncodingCase{"empty", QString(), QByteArray()}),
    [](const testing::TestParamInfo<EncodingCase> &info) { return std::string(info.param.name); });

struct DecodingCase
{
    const char *name;
    QByteArray bytes;
    QString text;
};

void PrintTo(const DecodingCase &c, std::ostream *out)
{
    *out << c.name;
}

class TextCodecDecoding : public testing::TestWithParam<DecodingCase>
{
};

TEST_P(TextCodecDecoding, ChoosesTheEncodingFromTheBytes)
{
    EXPECT_EQ(decodeText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TextCodecDecoding,
    testing::Values(DecodingCase{"utf8_with_mark", "\xEF\xBB\xBF\xE5\xAE\x8B\xE4\xBD\x93",
                                 QStringLiteral("宋体")},
                    DecodingCase{"ascii_with_mark",
                                 "\xEF\xBB\xBF"
                                 "abc",
                                 QStringLiteral("abc")},
                    DecodingCase{"utf8_without_mark", "a\xE5\xAE\x8B", QStringLiteral("a宋")},
                    DecodingCase{"gb18030", QByteArray::fromHex("cbcecce5"),
                                 QStringLiteral("宋体")},
                    DecodingCase{"gb18030_euro", QByteArray::fromHex("a2e3"), QStringLiteral("€")},
                    // Invalid bytes become one U+FFFD each and decoding goes on after them.
                    DecodingCase{"binary",
                                 QByteArray("\xFF"
                                            "a\x00\x01",
                                            4),
                                 QString(u'\xFFFD') + u'a' + QChar(0) + QChar(1)},
                    DecodingCase{"truncated_gb18030", QByteArray::fromHex("cbcecc"),
                                 QStringLiteral("宋") + QChar(0xFFFD)}),
    [](const testing::TestParamInfo<DecodingCase> &info) { return std::string(info.param.name); });

TEST(TextCodec, SplitsLinesAtLineFeedAndCarriageReturnLineFeed)
{
    const struct
    {
        QString text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\nc\r\n", {"a", "b", "c"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\n", {""}},
        {"a\rb\r\n", {"a\rb"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(splitLines(c.text), c.lines) << c.text.toStdString();
}

} // namespace
