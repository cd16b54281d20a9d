// Any bytes through the decoder; text it gives is encoded as the player writes its files
// and must decode back to itself.

#include "persist/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return 0;
    splitLines(*text);
    const std::optional<QByteArray> written = encodeFileText(*text);
    if (!written || decodeText(*written) != text)
        __builtin_trap();
    return 0;
}
