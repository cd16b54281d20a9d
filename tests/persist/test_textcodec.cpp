#include "persist/textcodec.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

namespace {

TEST(TextCodec, WritesGb18030AndReadsItBack)
{
    const struct
    {
        QString text;
        QByteArray hex;
    } cases[] = {{QStringLiteral("/音乐/歌.mp3"), "2fd2f4c0d62fb8e82e6d7033"},
                 {QStringLiteral("😀"), "9439fc36"}, // missing from code page 936
                 {QStringLiteral("5€"), "3580"},
                 {QString(), ""}};
    for (const auto &c : cases) {
        EXPECT_EQ(encodeText(c.text).toHex(), c.hex);
        EXPECT_EQ(decodeText(QByteArray::fromHex(c.hex)), c.text) << c.hex.data();
    }
}

TEST(TextCodec, ChoosesTheEncodingFromTheBytes)
{
    const struct
    {
        const char *hex;
        QString text;
    } cases[] = {{"efbbbfe5ae8be4bd93", QStringLiteral("宋体")},
                 {"61e5ae8b", QStringLiteral("a宋")},
                 {"cbcecce5", QStringLiteral("宋体")},
                 {"ff6100", QString(u'\xFFFD') + u'a' + QChar(0)},
                 {"cbcecc", QStringLiteral("宋") + QChar(0xFFFD)}};
    for (const auto &c : cases)
        EXPECT_EQ(decodeText(QByteArray::fromHex(c.hex)), c.text) << c.hex;
}

TEST(TextCodec, SplitsLinesAtLineFeedAndCarriageReturnLineFeed)
{
    const struct
    {
        QString text;
        QStringList lines;
    } cases[] = {{"", {}},
                 {"a\r\nb\nc\r\n", {"a", "b", "c"}},
                 {"a\r\n\r\n", {"a", ""}},
                 {"a\rb\r\n", {"a\rb"}}};
    for (const auto &c : cases)
        EXPECT_EQ(splitLines(c.text), c.lines) << c.text.toStdString();
}

} // namespace
