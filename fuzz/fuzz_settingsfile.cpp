// The bytes of a settings file, decoded and applied onto the design values. Saving the record
// and reading it back may round its numbers once (a font size is read as a whole number);
// after that, what is saved reads back to the same lines.

#include "persist/settingsfile.h"
#include "persist/textcodec.h"

namespace {

QStringList savedAndRead(const QStringList &lines)
{
    SettingsRecord record;
    if (applySettings(lines.join(u"\r\n"), record) != SettingsLoad::Applied)
        __builtin_trap();
    return formatSettings(record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return 0;
    // A file that is not ours changes nothing; one cut short is taken only from its start.
    SettingsRecord record;
    record.volume = -7;
    record.windowLeftTwips = 15;
    const SettingsLoad load = applySettings(*text, record);
    if ((load == SettingsLoad::WrongMarker && record.volume != -7) ||
        (load == SettingsLoad::Failed && record.windowLeftTwips != 0) ||
        (load == SettingsLoad::Applied && splitLines(*text).size() < 17))
        __builtin_trap();
    const QStringList once = savedAndRead(formatSettings(record));
    if (savedAndRead(once) != once)
        __builtin_trap();
    return 0;
}
