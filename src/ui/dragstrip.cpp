#include "ui/dragstrip.h"

#include <QMouseEvent>

DragStrip::DragStrip(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
}

void DragStrip::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed(event->button(), event->position());
}

void DragStrip::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (event->buttons() == Qt::LeftButton)
        emit dragged(event->globalPosition());
}

void DragStrip::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::RightButton)
        emit menuRequested(event->globalPosition().toPoint());
}
