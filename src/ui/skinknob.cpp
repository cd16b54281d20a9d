#include "ui/skinknob.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "core/knob.h"
#include "skin/skinimages.h"
#include "ui/pixelratio.h"

SkinKnob::SkinKnob(Knob &knob, Skin::Picture pressedPicture, Skin::Picture normalPicture,
                   QWidget *parent)
    : QAbstractSlider(parent), m_knob(knob), m_pressedPicture(pressedPicture),
      m_normalPicture(normalPicture)
{
    setFocusPolicy(Qt::NoFocus);
    setRange(0, 100);
    setGeometry(Skin::rect(knob.track().knob));
    follow(knob.left());
    connect(&knob, &Knob::moved, this, &SkinKnob::follow);
    connect(this, &QAbstractSlider::valueChanged, this, &SkinKnob::dragToPercent);
}

void SkinKnob::follow(double left)
{
    move(int(std::lrint(left)), y());
    m_isFollowing = true;
    setValue(int(std::lrint(std::clamp(m_knob.fraction(), 0.0f, 1.0f) * 100)));
    m_isFollowing = false;
}

void SkinKnob::dragToPercent(int percent)
{
    if (m_isFollowing)
        return;
    const double target = m_knob.leftAt(percent / 100.0);
    emit dragged(int(std::lrint(target - m_knob.left())) + m_knob.track().grip);
    emit released();
}

void SkinKnob::setPressed(bool pressed)
{
    if (m_isPressed == pressed)
        return;
    m_isPressed = pressed;
    update();
}

void SkinKnob::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, skinPicture(shownPicture(), pixelRatio(painter)));
}

void SkinKnob::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    setPressed(true);
}

void SkinKnob::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (event->buttons() & Qt::LeftButton)
        emit dragged(int(event->position().x()));
}

void SkinKnob::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    emit released();
    setPressed(false);
}

// The wheel is not one of the knob's ways; the skin below ignores it too.
void SkinKnob::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}
