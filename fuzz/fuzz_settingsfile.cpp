// The bytes of a settings file, decoded and applied onto the design values; a record that
// was read is written and must read back to the same lines.

#include "persist/settingsfile.h"
#include "persist/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return 0;
    SettingsRecord record;
    applySettings(*text, record);
    const QStringList lines = formatSettings(record);
    SettingsRecord again;
    if (applySettings(lines.join(u"\r\n"), again) != SettingsLoad::Applied ||
        formatSettings(again) != lines)
        __builtin_trap();
    return 0;
}
