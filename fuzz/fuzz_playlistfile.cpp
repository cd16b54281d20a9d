// The bytes of an M3U playlist, decoded and parsed; what was read is written and must read
// back as itself.

#include "persist/playlistfile.h"
#include "persist/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return 0;
    const QString folder = QStringLiteral("/base/");
    const PlaylistEntries entries = parsePlaylist(*text, folder);
    if (entries.songs.size() != entries.infos.size())
        __builtin_trap();
    const QStringList written = formatPlaylist(entries.songs, folder);
    if (parsePlaylist(written.join(u"\r\n"), folder).songs != entries.songs)
        __builtin_trap();
    return 0;
}
