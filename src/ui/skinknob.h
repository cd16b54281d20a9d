#pragma once

#include <QAbstractSlider>

#include "core/skinlayout.h"

class Knob;

// A knob of the skin: its picture stands where the player's Knob puts its left edge, on the
// knob's row of the skin, and shows its pressed picture while a mouse button is held on it.
// Moves with the left button held report the pointer's offset inside the knob; any release
// ends the drag. Only the rectangles the knob leaves and enters are repainted.
//
// To assistive technologies it is a slider whose value is the knob's place along its travel
// in percent; setting that value drags the knob there and lets it go.
class SkinKnob : public QAbstractSlider
{
    Q_OBJECT

public:
    SkinKnob(Knob &knob, Skin::Picture pressedPicture, Skin::Picture normalPicture,
             QWidget *parent = nullptr);

    Skin::Picture shownPicture() const { return m_isPressed ? m_pressedPicture : m_normalPicture; }

signals:
    // The pointer is `offsetX` pixels right of the knob's left edge (negative: left of it).
    void dragged(int offsetX);
    void released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void follow(double left);
    void setPressed(bool pressed);
    void dragToPercent(int percent);

    Knob &m_knob;
    Skin::Picture m_pressedPicture;
    Skin::Picture m_normalPicture;
    bool m_isPressed = false;
    // Set while the value follows the knob, so that only outside changes move it.
    bool m_isFollowing = false;
};
