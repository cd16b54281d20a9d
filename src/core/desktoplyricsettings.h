#pragma once

#include <QColor>
#include <QRect>
#include <QString>

// How the desktop lyric window (桌面歌词) looks and where it stands, kept between runs in a
// file of its own beside the settings file.
struct DesktopLyricSettings
{
    bool shown = false;
    // Locked, the window lets every click through to what lies below and cannot be dragged.
    bool locked = false;
    // The window's frame in screen pixels; an empty rectangle lets the window choose (centred
    // near the bottom of the primary screen).
    QRect place;
    QString fontFamily = QStringLiteral("Noto Sans CJK SC");
    double pointSize = 30;
    bool bold = true;
    QColor normal{0x4f, 0xc3, 0xf7};    // the lines not yet sung
    QColor highlight{0xff, 0xee, 0x58}; // the sung part of the current line
    QColor outline{0x10, 0x10, 0x10};

    bool operator==(const DesktopLyricSettings &) const = default;
};
