#include "ui/skinbutton.h"

#include <QMouseEvent>
#include <QPainter>

#include "skin/skinimages.h"
#include "ui/pixelratio.h"

SkinButton::SkinButton(Action action, QWidget *parent) : QAbstractButton(parent), m_action(action)
{
    setFocusPolicy(Qt::NoFocus);
    // Assistive technologies and click() come through here; the mouse does not.
    connect(this, &QAbstractButton::clicked, this,
            [this] { emit triggered(mapToGlobal(rect().center())); });
}

void SkinButton::setPictures(Skin::Picture pressed, Skin::Picture normal)
{
    if (pressed == m_pressedPicture && normal == m_normalPicture)
        return;
    m_pressedPicture = pressed;
    m_normalPicture = normal;
    update();
}

void SkinButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Drawn for the pixel ratio of the screen the button is on now.
    const Skin::Picture shown = shownPicture();
    const qreal ratio = pixelRatio(painter);
    const QPixmap picture =
        shown == SaveListPicture ? saveListPicture(ratio) : skinPicture(shown, ratio);
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
}

void SkinButton::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (m_action == Action::CommandOnPress) {
        emit triggered(event->globalPosition().toPoint());
        return;
    }
    setDown(true);
}

void SkinButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint where = event->globalPosition().toPoint();
    switch (m_action) {
    case Action::PictureThenCommand:
        setDown(false);
        emit triggered(where);
        break;
    case Action::CommandThenPicture:
        emit triggered(where);
        setDown(false);
        break;
    case Action::CommandOnPress:
        break;
    case Action::Click:
        setDown(false);
        if (rect().contains(event->position().toPoint()))
            emit triggered(where);
        break;
    }
}

// Moving off the button keeps it pressed: the release still counts.
void SkinButton::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}
