#pragma once

#include <QWidget>

// An empty, transparent strip by which the window is grabbed and moved (`LDrag` over the
// window's title, `LDrag2` over the playlist's). It only reports: the press, the moves made
// while exactly the left button is held, and a right-button release, which asks for the
// main menu. Positions are the strip's own, in pixels.
class DragStrip : public QWidget
{
    Q_OBJECT

public:
    explicit DragStrip(QWidget *parent = nullptr);

signals:
    void pressed(Qt::MouseButton button, QPointF position);
    // The pointer's place on the screen, from which the window places itself.
    void dragged(QPointF globalPosition);
    void menuRequested(QPoint globalPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
