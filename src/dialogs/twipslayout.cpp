#include "dialogs/twipslayout.h"

#include <QScreen>
#include <QWidget>

#include "core/rounding.h"
#include "core/windowplacement.h"

TwipsLayout::TwipsLayout(const QWidget &widget)
{
    if (const QScreen *screen = widget.screen()) {
        m_twipsPerPixelX = twipsPerPixel(screen->logicalDotsPerInchX());
        m_twipsPerPixelY = twipsPerPixel(screen->logicalDotsPerInchY());
    }
}

QSize TwipsLayout::size(int width, int height) const
{
    return {int(roundHalfEven(width / m_twipsPerPixelX)),
            int(roundHalfEven(height / m_twipsPerPixelY))};
}

QRect TwipsLayout::rect(int left, int top, int width, int height) const
{
    // Both edges are rounded, so that neighbouring controls neither overlap nor part.
    const QPoint topLeft(int(roundHalfEven(left / m_twipsPerPixelX)),
                         int(roundHalfEven(top / m_twipsPerPixelY)));
    const QPoint end(int(roundHalfEven((left + width) / m_twipsPerPixelX)),
                     int(roundHalfEven((top + height) / m_twipsPerPixelY)));
    return {topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y())};
}

void TwipsLayout::place(QWidget *widget, int left, int top, int width, int height) const
{
    widget->setGeometry(rect(left, top, width, height));
}

void TwipsLayout::placeText(QWidget *widget, int left, int top, int width, int height) const
{
    QRect area = rect(left, top, width, height);
    const int needed = widget->hasHeightForWidth() ? widget->heightForWidth(area.width())
                                                   : widget->sizeHint().height();
    if (needed > area.height()) {
        const int centre = area.center().y();
        area.setHeight(needed);
        area.moveCenter(QPoint(area.center().x(), centre));
    }
    widget->setGeometry(area);
}
