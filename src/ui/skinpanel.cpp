#include "ui/skinpanel.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "looks/storedlooks.h"
#include "skin/skinimages.h"
#include "ui/droppedfiles.h"
#include "ui/keymap.h"
#include "ui/pixelratio.h"

SkinPanel::SkinPanel(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void SkinPanel::showSkinPicture()
{
    m_showsSkin = true;
    // The picture covers the panel: nothing below needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    update();
}

void SkinPanel::setColour(const QColor &colour)
{
    setPaletteColour(*this, QPalette::Window, colour);
    setAutoFillBackground(true);
}

void SkinPanel::paintEvent(QPaintEvent *event)
{
    if (!m_showsSkin)
        return;
    QPainter painter(this);
    const QPixmap picture = skinMainPicture(pixelRatio(painter));
    // Only the part that needs it: a label or knob that changes repaints a few pixels.
    const QRect dirty = event->rect();
    const qreal scale = picture.devicePixelRatio();
    const QRectF source(QPointF(dirty.topLeft()) * scale, QSizeF(dirty.size()) * scale);
    painter.drawPixmap(QRectF(dirty), picture, source);
}

void SkinPanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit leftButtonPressed(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void SkinPanel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::RightButton)
        emit menuRequested(event->globalPosition().toPoint());
}

// Keys that a child with the focus passes on were handled by that child.
void SkinPanel::keyPressEvent(QKeyEvent *event)
{
    if (window()->focusWidget() == this)
        emit keyPressed(virtualKeyCode(*event), modifierBits(event->modifiers()));
    QWidget::keyPressEvent(event);
}

void SkinPanel::dragEnterEvent(QDragEnterEvent *event)
{
    if (carriesFiles(event->mimeData()))
        event->acceptProposedAction();
}

void SkinPanel::dropEvent(QDropEvent *event)
{
    const QStringList paths = acceptDroppedFiles(*event);
    if (!paths.isEmpty())
        emit filesDropped(paths);
}
