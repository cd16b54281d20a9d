#include "core/knob.h"

#include <algorithm>

Knob::Knob(const Skin::SliderTrack &track, QObject *parent)
    : QObject(parent), m_track(track), m_left(Skin::rect(track.knob).left())
{}

void Knob::setLeft(double left)
{
    if (m_left == left)
        return;
    m_left = left;
    emit moved(left);
}

float Knob::fraction() const
{
    return float(m_left - m_track.left) / float(m_track.travel());
}

double Knob::leftAt(double fraction) const
{
    return m_track.left + fraction * m_track.travel();
}

void Knob::step(double pixels)
{
    const double moved = m_left + pixels;
    setLeft(pixels > 0 ? std::min(moved, double(m_track.right))
                       : std::max(moved, double(m_track.left)));
}

void Knob::dragTo(int offsetX)
{
    setLeft(limited(offsetX + m_left - m_track.grip));
}

void Knob::clickAt(int x)
{
    setLeft(x - m_track.grip);
}

double Knob::limited(double left) const
{
    return std::clamp(left, double(m_track.left), double(m_track.right));
}
