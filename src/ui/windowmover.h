#pragma once

#include <QObject>
#include <QPointF>

class DragStrip;
class QWidget;

// Places and moves a borderless window by its own top-left corner, never by a frame that a
// window manager may add: the place restored from the settings, the place saved to them, and
// the moves by its drag strips with snapping to the screen edges. The settings and the
// snapping distance are in twips, converted with the screen's dots per inch.
//
// On a native Wayland session a window cannot place itself: there a left-button press on a
// strip hands the move to the compositor, which snaps by its own rules.
class WindowMover : public QObject
{
    Q_OBJECT

public:
    explicit WindowMover(QWidget &window, QObject *parent = nullptr);

    // False on a native Wayland session.
    static bool canPlaceItself();

    void setSnapPixels(int pixels);
    int snapTwips() const { return SnapTwips; }

    // Puts the window at the saved place, unless its title strip (`stripHeight` pixels)
    // would be on no screen; then at the primary screen's top-left corner.
    void restorePlace(QPointF savedTwips, int stripHeight);
    // `place` (window pixels) in twips.
    QPointF inTwips(QPoint place) const;
    void placeAt(QPoint place);

    // The strip moves the window from now on.
    void attach(DragStrip &strip);

private:
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;
    // One step of moving the window: the pointer is at (x, y) in the pressed strip's pixels.
    void DragWindow(double x, double y);

    QWidget &m_window;
    // Distance in twips within which a dragged window snaps to a screen edge.
    int SnapTwips = 0;
    // Where the pointer pressed a drag strip, in the strip's pixels.
    int DragStartX = 0;
    int DragStartY = 0;
};
