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

// Long hostile lines, where a slow parse would show, are in bench_lyrics.
TEST(FuzzLyricParser, SurvivesRandomBytesAndHostileLines)
{
    std::mt19937 generator(20250301);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(std::uniform_int_distribution<int>(0, 2000)(generator), '\0');
        for (char &byte : bytes)
            byte = char(generator());
        checkParse(decodeText(bytes).value());
    }
    checkParse(QString(4096, u']'));
    checkParse("[00:01.00]" + QStringLiteral("<0:0").repeated(1024));
}

} // namespace
