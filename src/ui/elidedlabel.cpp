#include "ui/elidedlabel.h"

#include <QPainter>

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, int(alignment()),
                     fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}
