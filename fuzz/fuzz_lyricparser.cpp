// The bytes of a lyric file, decoded as the player decodes them and parsed: every item keeps
// the list's format, the header item ends the list, word stamps never go back nor come
// before their item, and the display and the karaoke fill run to the end.

#include <cmath>

#include <QRegularExpression>

#include "lyrics/karaoke.h"
#include "lyrics/lyricdisplay.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "persist/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QRegularExpression timed(QStringLiteral("^\\d{4,5}\\.\\d{2}#.* ##$"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return 0;
    const QList<LyricItem> parsed = parseLyricItems(displayText(*text));
    QStringList items;
    for (const LyricItem &item : parsed)
        items.append(item.text);
    if (items.isEmpty() || !items.last().startsWith(u"   0.00#"))
        __builtin_trap();
    for (qsizetype i = 0; i + 1 < items.size(); ++i) {
        if (!timed.match(items.at(i)).hasMatch())
            __builtin_trap();
    }
    LyricList list;
    list.insertItems(parsed);
    list.select(0);
    for (int index = 0; index < list.count(); ++index) {
        double earliest = list.seconds(index);
        for (const WordStamp &stamp : list.words(index)) {
            if (stamp.seconds < earliest || stamp.character < 0)
                __builtin_trap();
            earliest = stamp.seconds;
        }
        const double start = list.seconds(index);
        const double end = lineEnd(start, list.seconds(index + 1), -1);
        const int length = int(list.shownText(index).size());
        const QList<WordStamp> words = list.words(index);
        if (sungCharacters(length, words, start, end, start - 1) != 0 ||
            sungCharacters(length, words, start, end, HUGE_VAL) != length)
            __builtin_trap();
    }
    for (float position = 0; list.selectedIndex() + 1 < list.count(); position += 97)
        SyncLyric(list, position);
    return 0;
}
