#include "persist/settingsfile.h"

#include <cmath>
#include <limits>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "persist/numberformat.h"
#include "persist/textcodec.h"

namespace {

TEST(NumberFormat, WritesAtMostSevenSignificantDigitsWithoutExponent)
{
    const struct
    {
        double value;
        const char *text;
    } cases[] = {{1440, "1440"},
                 {-120, "-120"},
                 {10.5, "10.5"},
                 {26.25, "26.25"},
                 {0.1 + 0.2, "0.3"},
                 {123.45678, "123.4568"},
                 {1234567.8, "1234568"},
                 {12345678, "12345680"},
                 {-2147483634, "-2147484000"},
                 {1e-9, "0.000000001"},
                 {-0.0, "0"},
                 {std::numeric_limits<double>::infinity(), "0"},
                 {std::numeric_limits<double>::quiet_NaN(), "0"}};
    for (const auto &c : cases)
        EXPECT_EQ(formatDecimal(c.value), c.text) << c.value;
}

TEST(NumberFormat, ReadsWholeNumbersRoundingHalvesToEven)
{
    const struct
    {
        const char *text;
        std::optional<qint32> value;
    } cases[] = {{"10.5", 10},
                 {"11.5", 12},
                 {"-2.5", -2},
                 {"-3.5", -4},
                 {" 7 ", 7},
                 {"+7", 7},
                 {"1e3", 1000},
                 {"-2147483634", -2147483634},
                 {"2147483647.4", 2147483647},
                 {"-2147483648.5", std::numeric_limits<qint32>::min()},
                 {"2147483648", std::nullopt},
                 {"-2147483649", std::nullopt},
                 {"", std::nullopt},
                 {"abc", std::nullopt},
                 {"1,5", std::nullopt},
                 {"&H8000000E", std::nullopt},
                 {"inf", std::nullopt},
                 {"nan", std::nullopt}};
    for (const auto &c : cases)
        EXPECT_EQ(parseWholeNumber(c.text), c.value) << c.text;
}

TEST(NumberFormat, ReadsTruthValuesAsNumbersOrWords)
{
    const struct
    {
        const char *text;
        std::optional<bool> value;
    } cases[] = {{"0", false},          {"-1", true},       {"1", true},          {"0.0", false},
                 {"0.4", true},         {"True", true},     {"FALSE", false},     {" tRuE ", true},
                 {"yes", std::nullopt}, {"", std::nullopt}, {"nan", std::nullopt}};
    for (const auto &c : cases)
        EXPECT_EQ(parseTruthValue(c.text), c.value) << c.text;
    EXPECT_EQ(formatTruthValue(true), "-1");
    EXPECT_EQ(formatTruthValue(false), "0");
}

// A record in which every field differs from its default.
SettingsRecord knownRecord()
{
    SettingsRecord record;
    record.windowLeftTwips = -1230;
    record.windowTopTwips = 4560;
    record.shared = {20, 2, 7, 0, 1, 9};
    record.picBottomColour = 65535;
    record.lyricColour = -2147483643; // the system's window background colour
    record.lyricFont = {QStringLiteral("黑体"), 10, true, false, true};
    record.volume = -1500;
    return record;
}

TEST(SettingsFile, DefaultsAreTheDesignValues)
{
    const SettingsRecord record;
    EXPECT_EQ(record.shared, (SharedSettings{12, 0, 5, 1, 0, 5}));
    EXPECT_EQ(record.picBottomColour, 192 << 16);
    EXPECT_EQ(record.lyricColour, -2147483634);
    EXPECT_EQ(record.lyricFont,
              (LyricFontSetting{QStringLiteral("宋体"), 26.25, false, true, false}));
    EXPECT_EQ(record.volume, 0);
}

TEST(SettingsFile, WritesTheExactBytes)
{
    QTemporaryDir folder;
    SettingsRecord record = knownRecord();
    record.windowLeftTwips = -1234.5;
    record.lyricColour = -2147483634;
    record.lyricFont.name = QStringLiteral("宋体");
    record.lyricFont.pointSize = 10.5;
    const QString path = folder.filePath("config/zorvan.set");
    ASSERT_TRUE(SaveSettings(path, record).ok);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              "[DONTCHANGETHISSET]\r\n-1234.5\r\n4560\r\n20\r\n2\r\n7\r\n0\r\n1\r\n"
              "65535\r\n-2147483634\r\n\xcb\xce\xcc\xe5\r\n10.5\r\n-1\r\n0\r\n-1\r\n"
              "-1500\r\n9\r\n");
}

TEST(SettingsFile, ReadsBackEveryFieldAndRoundsFractions)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("zorvan.set");
    ASSERT_TRUE(SaveSettings(path, knownRecord()).ok);
    SettingsRecord record;
    EXPECT_EQ(LoadSettings(path, record), SettingsLoad::Applied);
    EXPECT_EQ(record, knownRecord());

    SettingsRecord fractions = knownRecord();
    fractions.windowLeftTwips = -1234.5;
    fractions.windowTopTwips = 1235.5;
    fractions.lyricFont.pointSize = 11.5;
    ASSERT_TRUE(SaveSettings(path, fractions).ok);
    EXPECT_EQ(LoadSettings(path, record), SettingsLoad::Applied);
    EXPECT_EQ(record.windowLeftTwips, -1234);
    EXPECT_EQ(record.windowTopTwips, 1236);
    EXPECT_EQ(record.lyricFont.pointSize, 12);

    fractions.lyricFont.pointSize = 10.5;
    EXPECT_EQ(applySettings(formatSettings(fractions).join("\r\n"), record), SettingsLoad::Applied);
    EXPECT_EQ(record.lyricFont.pointSize, 10);
}

TEST(SettingsFile, AcceptsOtherLineEndsWordsAndIgnoresLinesAfterTheLast)
{
    QStringList lines = formatSettings(knownRecord());
    lines[12] = "True";
    lines[13] = "false";
    lines[14] = "2";
    lines.append({"garbage", "1"});
    SettingsRecord record;
    EXPECT_EQ(applySettings(lines.join('\n'), record), SettingsLoad::Applied);
    EXPECT_EQ(record, knownRecord());
}

TEST(SettingsFile, WrongMarkerChangesNothing)
{
    QStringList lines = formatSettings(SettingsRecord());
    for (const QString marker : {"[dontchangethisset]", "[DONTCHANGETHISSET] ", "", "x"}) {
        lines[0] = marker;
        SettingsRecord record = knownRecord();
        EXPECT_EQ(applySettings(lines.join("\r\n"), record), SettingsLoad::WrongMarker);
        EXPECT_EQ(record, knownRecord()) << marker.toStdString();
    }
    SettingsRecord record = knownRecord();
    EXPECT_EQ(applySettings(decodeText(QByteArray("\x7f"
                                                  "ELF\x02\x01\x00\r\n\xff",
                                                  9)),
                            record),
              SettingsLoad::WrongMarker);
    EXPECT_EQ(record, knownRecord());
}

// The reading stops at the first bad or missing line: the lines before it stay applied,
// those after it are not, and the position and the six shared settings take defaults.
TEST(SettingsFile, FailingLineKeepsWhatWasAppliedAndResetsPositionAndSharedSettings)
{
    SettingsRecord start;
    start.windowLeftTwips = 300;
    start.shared.PicShowSeconds = 30;
    start.lyricFont.pointSize = 26; // whole, so that its own line reads back as it is
    const QStringList saved = formatSettings(knownRecord());
    const QStringList current = formatSettings(start);
    for (int failing = 1; failing < saved.size(); ++failing) {
        if (failing == 10)
            continue; // the font name is any text
        // What the lines before the failing one give, the rest keeping their values.
        SettingsRecord expected = start;
        ASSERT_EQ(
            applySettings((saved.mid(0, failing) + current.mid(failing)).join("\r\n"), expected),
            SettingsLoad::Applied);
        expected.windowLeftTwips = 0;
        expected.windowTopTwips = 0;
        expected.shared = SharedSettings();

        QStringList unconvertible = saved;
        unconvertible[failing] = "x";
        for (const QStringList &lines : {unconvertible, saved.mid(0, failing)}) {
            SettingsRecord record = start;
            EXPECT_EQ(applySettings(lines.join("\r\n"), record), SettingsLoad::Failed);
            EXPECT_EQ(record, expected) << "line " << failing + 1 << " of " << lines.size();
        }
    }
}

TEST(SettingsFile, NoFileEmptyFileAndCutFileFail)
{
    QTemporaryDir folder;
    SettingsRecord record = knownRecord();
    EXPECT_EQ(LoadSettings(folder.filePath("missing.set"), record), SettingsLoad::Failed);
    EXPECT_EQ(record.windowLeftTwips, 0);
    EXPECT_EQ(record.shared, SharedSettings());
    EXPECT_EQ(record.volume, knownRecord().volume);

    record = knownRecord();
    EXPECT_EQ(applySettings("", record), SettingsLoad::Failed);
    EXPECT_EQ(record.shared, SharedSettings());

    // Cut after line 10: the two colours arrive, the font keeps its design value.
    record = SettingsRecord();
    EXPECT_EQ(applySettings(formatSettings(knownRecord()).mid(0, 10).join("\r\n"), record),
              SettingsLoad::Failed);
    EXPECT_EQ(record.picBottomColour, 65535);
    EXPECT_EQ(record.lyricColour, -2147483643);
    EXPECT_EQ(record.lyricFont, LyricFontSetting());
}

TEST(SettingsFile, ReportsAFileThatCannotBeWritten)
{
    QTemporaryDir folder;
    const WriteResult result = SaveSettings(folder.path(), SettingsRecord());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
}

} // namespace
