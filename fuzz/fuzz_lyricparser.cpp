// The bytes of a lyric file, decoded as the player decodes them and parsed.

#include "lyrics/lyricparser.h"
#include "persist/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    if (const std::optional<QString> text = decodeText(bytes)) {
        const QStringList items = parseLyricText(*text);
        // The header item always ends the list.
        if (items.isEmpty() || !items.last().startsWith(u"   0.00#"))
            __builtin_trap();
    }
    return 0;
}
