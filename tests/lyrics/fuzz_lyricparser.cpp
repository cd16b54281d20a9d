#include <random>

#include <QByteArray>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "lyrics/lyricdisplay.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "persist/textcodec.h"
#include "support/qtprinters.h"

// Random and hostile input through the parser and the display: nothing may crash or
// hang, every item keeps the list format and the list stays in time order. The
// generator has a fixed seed, so a failure repeats.

namespace {

void checkParse(const QString &text)
{
    static const QRegularExpression timed(QStringLiteral("^\\d{4,5}\\.\\d{2}#.* ##$"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QStringList items = parseLyricText(text);
    ASSERT_FALSE(items.isEmpty());
    ASSERT_TRUE(items.last().startsWith(QStringLiteral("   0.00#")));
    for (qsizetype i = 0; i + 1 < items.size(); ++i)
        ASSERT_TRUE(timed.match(items.at(i)).hasMatch()) << items.at(i).toStdString();

    LyricList list;
    list.insert(items);
    list.select(0);
    ASSERT_TRUE(list.items().first().startsWith(QStringLiteral("   0.00#")));
    for (int i = 1; i < list.count(); ++i)
        ASSERT_LE(list.seconds(i - 1), list.seconds(i));
    for (float position = 0; list.selectedIndex() + 1 < list.count(); position += 97)
        SyncLyric(list, position);
    refindLyricLine(list, 30);
}

TEST(FuzzLyricParser, SurvivesRandomBytesAndRandomTags)
{
    std::mt19937 generator(20250301);
    const auto below = [&generator](int bound) {
        return std::uniform_int_distribution<int>(0, bound - 1)(generator);
    };

    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(below(2000), Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(below(256));
        SCOPED_TRACE(bytes.toHex().toStdString());
        checkParse(decodeText(bytes));
    }

    // Pieces of tags, times and line breaks, so that most lines come close to valid ones.
    const QStringList pieces = {"[",       "]",  ":",  ".", "0",  "5",          "59",        "999",
                                "\r\n",    "\n", "\r", "#", "##", " ",          "ti:",       "ar:",
                                "offset:", "-",  "<",  ">", "歌", "[00:01.00]", "[1:2.345]", "1e9"};
    for (int round = 0; round < 300; ++round) {
        QString text;
        for (int count = below(80); count > 0; --count)
            text += pieces.at(below(int(pieces.size())));
        SCOPED_TRACE(text.toStdString());
        checkParse(text);
    }
}

// Inputs that would make a careless parser quadratic or let one line multiply.
TEST(FuzzLyricParser, HandlesLargeAndHostileFilesInOnePass)
{
    const qsizetype size = 1024 * 1024;
    const QStringList hostile = {
        QString(size, u']'),
        QString(size, u'['),
        QString(size, u'[') + u']',
        QStringLiteral("[00:01.00]") + QString(size, u'<') + u'>',
        QStringLiteral("[00:01.00]") + QStringLiteral("<0:0").repeated(size / 4) + u'>',
        QString(size, u'\n'),
        QStringLiteral("[ti:") + QString(size, u'x') + u']',
    };
    for (const QString &text : hostile)
        checkParse(text);
}

TEST(FuzzLyricParser, ParsesAHundredThousandLines)
{
    QString text;
    for (int line = 0; line < 100000; ++line)
        text += QStringLiteral("[%1:%2.%3]第%4行\r\n")
                    .arg(line / 6000, 2, 10, QLatin1Char('0'))
                    .arg(line / 100 % 60, 2, 10, QLatin1Char('0'))
                    .arg(line % 100, 2, 10, QLatin1Char('0'))
                    .arg(line);
    LyricList list;
    list.insert(parseLyricText(text));
    ASSERT_EQ(list.count(), 100001);
    EXPECT_EQ(list.items().at(1), QStringLiteral("0000.00#第0行 ##"));
    EXPECT_EQ(list.items().last(), QStringLiteral("0999.99#第99999行 ##"));
}

} // namespace
