#include <random>

#include <QRegularExpression>

#include <gtest/gtest.h>

#include "lyrics/lyricdisplay.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "persist/textcodec.h"

namespace {

// Every item keeps the list format, the header comes last, and the display runs to the end.
void checkParse(const QString &text)
{
    static const QRegularExpression timed(QStringLiteral("^\\d{4,5}\\.\\d{2}#.* ##$"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QStringList items = parseLyricText(text);
    ASSERT_TRUE(!items.isEmpty() && items.last().startsWith(QStringLiteral("   0.00#")));
    for (qsizetype i = 0; i + 1 < items.size(); ++i)
        ASSERT_TRUE(timed.match(items.at(i)).hasMatch()) << items.at(i).toStdString();
    LyricList list;
    list.insert(items);
    list.select(0);
    for (float position = 0; list.selectedIndex() + 1 < list.count(); position += 97)
        SyncLyric(list, position);
}

TEST(FuzzLyricParser, SurvivesRandomBytesAndHostileFiles)
{
    std::mt19937 generator(20250301);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(std::uniform_int_distribution<int>(0, 2000)(generator), '\0');
        for (char &byte : bytes)
            byte = char(generator());
        checkParse(decodeText(bytes).value());
    }
    checkParse(QString(1024 * 1024, u']'));
    checkParse("[00:01.00]" + QStringLiteral("<0:0").repeated(256 * 1024));
}

TEST(FuzzLyricParser, ParsesAHundredThousandLines)
{
    QString text;
    for (int line = 0; line < 100000; ++line)
        text += QStringLiteral("[%1:00.%2]第%3行\r\n")
                    .arg(line / 100)
                    .arg(line % 100, 2, 10, QLatin1Char('0'))
                    .arg(line);
    LyricList list;
    list.insert(parseLyricText(text));
    ASSERT_EQ(list.count(), 100001);
    EXPECT_EQ(list.items().last(), QStringLiteral("59940.99#第99999行 ##"));
}

} // namespace
