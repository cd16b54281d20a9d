#include "persist/settingsfile.h"

#include <cmath>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "persist/numberformat.h"
#include "support/files.h"

namespace {

// Truth values are also read from the words True and False, in any letter case.
TEST(NumberFormat, WritesSevenSignificantDigitsAndReadsWholeNumbersHalvesToEven)
{
    const std::pair<double, const char *> written[] = {
        {0.1 + 0.2, "0.3"}, {12345678, "12345680"}, {1e-9, "0.000000001"}, {NAN, "0"}};
    for (const auto &[value, text] : written)
        EXPECT_EQ(formatDecimal(value), text) << value;
    const std::pair<const char *, std::optional<qint32>> read[] = {
        {"-3.5", -4}, {" +7 ", 7}, {"1e3", 1000}, {"2147483648", {}}, {"1,5", {}}};
    for (const auto &[text, value] : read)
        EXPECT_EQ(parseWholeNumber(text), value) << text;
    EXPECT_TRUE(parseTruthValue("True") == true && parseTruthValue("fALSE") == false);
}

// A record in which every field differs from its default.
SettingsRecord knownRecord()
{
    SettingsRecord record;
    record.windowLeftTwips = -1230;
    record.windowTopTwips = 4560;
    record.shared = {20, 2, 7, 0, 1, 9};
    record.picBottomColour = 65535;
    record.lyricColour = -2147483643; // a system colour
    record.lyricFont = {QStringLiteral("黑体"), 10, true, false, true};
    record.volume = -1500;
    return record;
}

// The position and the font size are written with their fractions and read back whole,
// halves to even.
TEST(SettingsFile, WritesTheExactBytesAndReadsBackEveryField)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("config/zorvan.set");
    SettingsRecord record = knownRecord();
    record.windowLeftTwips = -1230.5;
    record.lyricFont.pointSize = 10.5;
    ASSERT_TRUE(SaveSettings(path, record).ok);
    EXPECT_EQ(readFile(path),
              "[DONTCHANGETHISSET]\r\n-1230.5\r\n4560\r\n20\r\n2\r\n7\r\n0\r\n1\r\n"
              "65535\r\n-2147483643\r\n\xba\xda\xcc\xe5\r\n10.5\r\n-1\r\n0\r\n-1\r\n"
              "-1500\r\n9\r\n");
    // Lines after the last are ignored.
    writeFile(path, readFile(path) + "garbage\r\n1\r\n");
    record = SettingsRecord();
    EXPECT_EQ(LoadSettings(path, record).value, SettingsLoad::Applied);
    EXPECT_EQ(record, knownRecord());
}

// A first line other than the exact marker changes nothing. Otherwise the reading stops at
// the first missing or unconvertible line: the lines before it stay applied, those after it
// are not, and the position and the six shared settings take their defaults.
TEST(SettingsFile, WrongMarkerChangesNothingAndAFailingLineResetsPositionAndSharedSettings)
{
    const QStringList saved = formatSettings(knownRecord());
    SettingsRecord record;
    EXPECT_EQ(applySettings(saved.join("\r\n").toLower(), record), SettingsLoad::WrongMarker);
    EXPECT_EQ(record, SettingsRecord());

    record = knownRecord();
    EXPECT_EQ(applySettings("", record), SettingsLoad::Failed);
    EXPECT_EQ(record.windowLeftTwips, 0);

    QStringList unconvertible = saved;
    unconvertible[12] = "x"; // italic
    for (const QStringList &lines : {saved.mid(0, 10), unconvertible}) {
        record = SettingsRecord();
        EXPECT_EQ(applySettings(lines.join("\r\n"), record), SettingsLoad::Failed);
        EXPECT_EQ(record.lyricColour, knownRecord().lyricColour);
        EXPECT_EQ(record.volume, 0);
        EXPECT_EQ(record.windowTopTwips, 0);
        EXPECT_EQ(record.shared, SharedSettings());
    }
}

} // namespace
