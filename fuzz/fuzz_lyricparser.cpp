// The bytes of a lyric file, decoded as the player decodes them and parsed: every item keeps
// the list's format, the header item ends the list, and the display runs to its end.

#include <QRegularExpression>

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
    const QStringList items = parseLyricText(displayText(*text));
    if (items.isEmpty() || !items.last().startsWith(u"   0.00#"))
        __builtin_trap();
    for (qsizetype i = 0; i + 1 < items.size(); ++i) {
        if (!timed.match(items.at(i)).hasMatch())
            __builtin_trap();
    }
    LyricList list;
    list.insert(items);
    list.select(0);
    for (float position = 0; list.selectedIndex() + 1 < list.count(); position += 97)
        SyncLyric(list, position);
    return 0;
}
