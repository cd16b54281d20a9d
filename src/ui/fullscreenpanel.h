#pragma once

#include "ui/skinpanel.h"

class DisplayLabels;
class QLabel;
class Session;
class TransitionPainter;

// `PicBg`, the face of the full-screen window: a background over the whole screen on which
// the slideshow's pictures arrive (`picture()`), with the lyric strip `PicBottom` along its bottom
// edge carrying the full-screen lyric line `LTxtMax`. Hidden in the normal window.
class FullScreenPanel : public SkinPanel
{
    Q_OBJECT

public:
    // The strip's height and how far below its top edge the lyric line begins, in pixels;
    // the line is as high as the strip and so is cut at its bottom edge.
    static constexpr int StripHeight = 60;
    static constexpr int LyricInset = 8;

    // The lyric line shows the player's `LTxtMax` text.
    FullScreenPanel(Session &session, DisplayLabels &labels, QWidget *parent = nullptr);

    TransitionPainter *picture() const { return m_picture; }
    SkinPanel *PicBottom() const { return m_bottom; }
    QLabel *LTxtMax() const { return m_lyric; }

    // Lays the panels out over a screen of `screenPixels`: the background over all of it,
    // the strip along its bottom edge, the lyric line across the strip.
    void layOut(QSize screenPixels);
    // The strip's colour and the lyric line's font and colour, from the settings.
    void applyLyricStyle();

private:
    Session &m_session;
    TransitionPainter *m_picture = nullptr;
    SkinPanel *m_bottom = nullptr;
    QLabel *m_lyric = nullptr;
};
