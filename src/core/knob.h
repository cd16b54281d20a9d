#pragma once

#include <QObject>

#include "core/skinlayout.h"

// A knob on its track: its left edge in skin pixels, which is the setting it stands for.
// The position, volume and balance knobs are three of these; each turns its place into a
// value through fraction().
class Knob : public QObject
{
    Q_OBJECT

public:
    // The knob starts where the skin puts it.
    explicit Knob(const Skin::SliderTrack &track, QObject *parent = nullptr);

    const Skin::SliderTrack &track() const { return m_track; }
    // Fractional after a value was turned back into a place.
    double left() const { return m_left; }
    void setLeft(double left);

    // How far along its travel the knob stands: 0 at the left limit, 1 at the right one,
    // beyond either when a click put it past a limit. Single precision, like every value
    // derived from it.
    float fraction() const;
    // The knob's place for a fraction of the travel, not limited.
    double leftAt(double fraction) const;

    // `pixels` on from where it stands (negative: to the left), stopping at the limit it
    // moves towards.
    void step(double pixels);
    // The pointer, `offsetX` pixels from the knob's left edge, drags its grip along; limited
    // to the travel.
    void dragTo(int offsetX);
    // A click on the track at x puts the grip under the pointer, not limited: the value
    // derived from the knob is limited instead.
    void clickAt(int x);

signals:
    void moved(double left);

private:
    double limited(double left) const;

    Skin::SliderTrack m_track;
    double m_left;
};
