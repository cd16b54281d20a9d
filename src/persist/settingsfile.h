#pragma once

#include <QString>
#include <QStringList>

#include "persist/textfile.h"

// The settings file: the marker line "[DONTCHANGETHISSET]" and sixteen values, one per
// line, in the order of SettingsRecord. Reading applies the lines one by one onto a
// record that holds the current (design) values:
// - a first line other than the exact marker changes nothing at all, and nor does a file
//   that exists but cannot be read;
// - the first line that does not convert, or a missing line (a file of fewer than 17
//   lines, or no file), ends the reading: what was applied stays, but the window
//   position becomes 0, 0 and the six shared settings take their defaults;
// - lines after the 17th are ignored.

// The settings shared by several parts of the player, with their defaults.
struct SharedSettings
{
    // Distance in pixels within which the dragged window snaps to a screen edge.
    int SnapPixels = 12;
    // 0 = on the taskbar only, 1 = in the notification area only, 2 = both.
    int TrayMode = 0;
    // Carried from run to run; nothing uses it.
    int ReservedSetting = 5;
    // 1 = playlist panel shown, 0 = hidden.
    int ShowList = 1;
    // 1 = full screen at start-up, 0 = not.
    int FullScreenAtStart = 0;
    // How long each slideshow picture stays, in seconds.
    int PicShowSeconds = 5;

    bool operator==(const SharedSettings &) const = default;
};

// The font of the full-screen lyric line.
struct LyricFontSetting
{
    QString name = QStringLiteral("宋体");
    // In points; written with its fraction, read back as a whole number.
    double pointSize = 26.25;
    bool italic = false;
    bool bold = true;
    bool underline = false;
    // Lasts for the run only: the file has no line for it.
    bool strikeOut = false;

    bool operator==(const LyricFontSetting &) const = default;
};

// Everything the settings file holds. Colours are 32-bit values with red in the low byte;
// a negative value (top bit set) names a system colour.
struct SettingsRecord
{
    // The main window's left and top edges in twips; written with their fraction, read
    // back as whole numbers.
    double windowLeftTwips = 0;
    double windowTopTwips = 0;
    SharedSettings shared;
    // Background of the full-screen lyric strip: RGB(0, 0, 192).
    qint32 picBottomColour = 0xC00000;
    // Text colour of the full-screen lyric line: the system's highlight-text colour.
    qint32 lyricColour = static_cast<qint32>(0x8000000Eu);
    LyricFontSetting lyricFont;
    // The media control's volume in hundredths of a decibel: 0 loudest, negative quieter.
    int volume = 0;

    bool operator==(const SettingsRecord &) const = default;
};

enum class SettingsLoad {
    Applied,     // all sixteen values were applied
    WrongMarker, // the first line is not the marker; nothing changed
    Failed,      // no file, a missing line or one that does not convert
};

// The seventeen lines of the file.
QStringList formatSettings(const SettingsRecord &record);

// Applies the text of a settings file onto `record` by the rules above.
SettingsLoad applySettings(const QString &text, SettingsRecord &record);

// Reads the file (the limit is SmallTextFileLimit) and applies it by the rules above. The
// value tells how the lines applied; a missing file is Failed, and a file that exists but
// cannot be read is Unreadable and changes nothing.
ReadResult<SettingsLoad> LoadSettings(const QString &path, SettingsRecord &record);
WriteResult SaveSettings(const QString &path, const SettingsRecord &record);
