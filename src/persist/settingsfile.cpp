#include "persist/settingsfile.h"

#include "persist/numberformat.h"
#include "persist/textcodec.h"

namespace {

const QString Marker = QStringLiteral("[DONTCHANGETHISSET]");

SettingsLoad failReading(SettingsRecord &record)
{
    record.windowLeftTwips = 0;
    record.windowTopTwips = 0;
    record.shared = SharedSettings();
    return SettingsLoad::Failed;
}

} // namespace

QStringList formatSettings(const SettingsRecord &record)
{
    const SharedSettings &shared = record.shared;
    const LyricFontSetting &font = record.lyricFont;
    return {Marker,
            formatDecimal(record.windowLeftTwips),
            formatDecimal(record.windowTopTwips),
            QString::number(shared.SnapPixels),
            QString::number(shared.TrayMode),
            QString::number(shared.ReservedSetting),
            QString::number(shared.ShowList),
            QString::number(shared.FullScreenAtStart),
            QString::number(record.picBottomColour),
            QString::number(record.lyricColour),
            font.name,
            formatDecimal(font.pointSize),
            formatTruthValue(font.italic),
            formatTruthValue(font.bold),
            formatTruthValue(font.underline),
            QString::number(record.volume),
            QString::number(shared.PicShowSeconds)};
}

SettingsLoad applySettings(const QString &text, SettingsRecord &record)
{
    const QStringList lines = splitLines(text);
    if (lines.isEmpty())
        return failReading(record);
    if (lines.first() != Marker)
        return SettingsLoad::WrongMarker;

    // Applies line `index`, converted by `parse`, to `target` and says whether it could;
    // chained with &&, the reading stops at the first line that is missing or fails.
    const auto read = [&lines](qsizetype index, auto &target, auto parse) {
        if (index >= lines.size())
            return false;
        const auto value = parse(lines.at(index));
        if (value)
            target = *value;
        return value.has_value();
    };
    const auto asText = [](const QString &line) { return std::optional(line); };

    SharedSettings &shared = record.shared;
    LyricFontSetting &font = record.lyricFont;
    const bool complete =
        read(1, record.windowLeftTwips, parseWholeNumber) &&
        read(2, record.windowTopTwips, parseWholeNumber) &&
        read(3, shared.SnapPixels, parseWholeNumber) &&
        read(4, shared.TrayMode, parseWholeNumber) &&
        read(5, shared.ReservedSetting, parseWholeNumber) &&
        read(6, shared.ShowList, parseWholeNumber) &&
        read(7, shared.FullScreenAtStart, parseWholeNumber) &&
        read(8, record.picBottomColour, parseWholeNumber) &&
        read(9, record.lyricColour, parseWholeNumber) && read(10, font.name, asText) &&
        read(11, font.pointSize, parseWholeNumber) && read(12, font.italic, parseTruthValue) &&
        read(13, font.bold, parseTruthValue) && read(14, font.underline, parseTruthValue) &&
        read(15, record.volume, parseWholeNumber) &&
        read(16, shared.PicShowSeconds, parseWholeNumber);
    return complete ? SettingsLoad::Applied : failReading(record);
}

ReadResult<SettingsLoad> LoadSettings(const QString &path, SettingsRecord &record)
{
    const ReadResult<QString> read = readTextFile(path, SmallTextFileLimit);
    switch (read.status) {
    case ReadStatus::Read:
        return {read.status, applySettings(read.value, record), QString()};
    case ReadStatus::Missing:
        return {read.status, failReading(record), QString()};
    case ReadStatus::Unreadable:
        break;
    }
    return {read.status, SettingsLoad::Failed, read.error};
}

WriteResult SaveSettings(const QString &path, const SettingsRecord &record)
{
    return writeTextLines(path, formatSettings(record));
}
