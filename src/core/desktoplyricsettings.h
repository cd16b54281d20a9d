#pragma once

#include <QRect>
#include <QString>
#include <QtGlobal>

// How the desktop lyric window (桌面歌词) looks and where it stands, kept between runs in a
// file of its own beside the settings file.
// Colours are 0xRRGGBB values (QRgb without its alpha).
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
    quint32 normal = 0x4fc3f7;    // the lines not yet sung
    quint32 highlight = 0xffee58; // the sung part of the current line
    quint32 outline = 0x101010;

    bool operator==(const DesktopLyricSettings &) const = default;
};
