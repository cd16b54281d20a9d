// Any bytes through the decoder; text it gives is encoded as the player writes its files.
// A text without stand-ins for undecodable bytes reads back as itself, and from the second
// write on a file stays byte for byte. (Stand-ins from a file in another encoding are written
// as their bytes into GB18030, where two of them may meet as one character, such as A2 E3,
// the euro sign, which the next write gives as code page 936's 0x80.)

#include <algorithm>

#include "persist/textcodec.h"

namespace {

// Private-use characters that the C library's GB18030 has no bytes for (GB18030-2005 gave
// their places to standard characters); they are written as "?".
bool holdsCharacterWithoutGb18030(const QString &text)
{
    static constexpr char16_t Missing[] = {0xE78D, 0xE78E, 0xE78F, 0xE790, 0xE791, 0xE792,
                                           0xE793, 0xE794, 0xE795, 0xE796, 0xE816, 0xE817,
                                           0xE818, 0xE81E, 0xE826, 0xE82B, 0xE82C, 0xE831,
                                           0xE832, 0xE83B, 0xE843, 0xE854, 0xE855, 0xE864};
    return std::ranges::any_of(
        text, [](QChar c) { return std::ranges::find(Missing, c.unicode()) != std::end(Missing); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return 0;
    splitLines(*text);
    const std::optional<QByteArray> written = encodeFileText(*text);
    const std::optional<QString> read = written ? decodeText(*written) : std::nullopt;
    const std::optional<QByteArray> again = read ? encodeFileText(*read) : std::nullopt;
    const std::optional<QString> readAgain = again ? decodeText(*again) : std::nullopt;
    if (!readAgain || encodeFileText(*readAgain) != again)
        __builtin_trap();
    if (displayText(*text) == *text && !holdsCharacterWithoutGb18030(*text) && *read != *text)
        __builtin_trap();
    return 0;
}
