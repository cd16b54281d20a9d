// The bytes of a picture list or a lyric-folder list, decoded and read both ways.

#include "persist/listfiles.h"
#include "persist/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return 0;
    const bool hasEndLine = splitLines(*text).contains(QStringLiteral("[END]"));
    const ListFileEntries pictures = parsePicList(*text, QStringLiteral("/program"));
    if (pictures.hasEndMark != hasEndLine)
        __builtin_trap();
    for (const QString &picture : pictures.items) {
        if (!picture.startsWith(u'/') || picture == QStringLiteral("[END]"))
            __builtin_trap();
    }
    for (const ListSelection selection : {ListSelection::FirstAfterEndMark, ListSelection::None}) {
        const ListContents contents = picListContents(pictures, selection);
        if (contents.selected < -1 || contents.selected >= contents.items.size())
            __builtin_trap();
    }
    const ListFileEntries folders = parseLyricDirList(*text);
    if (folders.hasEndMark != hasEndLine || folders.items.contains(QStringLiteral("[END]")))
        __builtin_trap();
    return 0;
}
