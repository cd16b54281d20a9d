#include "dialogs/twipslayout.h"

#include <QDialog>
#include <QScreen>

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

QRect TwipsLayout::rect(QRect twips) const
{
    // Both edges are rounded, so that neighbouring controls neither overlap nor part.
    const QPoint topLeft(int(roundHalfEven(twips.x() / m_twipsPerPixelX)),
                         int(roundHalfEven(twips.y() / m_twipsPerPixelY)));
    const QPoint end(int(roundHalfEven((twips.x() + twips.width()) / m_twipsPerPixelX)),
                     int(roundHalfEven((twips.y() + twips.height()) / m_twipsPerPixelY)));
    return {topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y())};
}

void TwipsLayout::place(QWidget *widget, QRect twips) const
{
    widget->setGeometry(rect(twips));
}

void TwipsLayout::placeText(QWidget *widget, QRect twips) const
{
    QRect area = rect(twips);
    const int needed = widget->hasHeightForWidth() ? widget->heightForWidth(area.width())
                                                   : widget->sizeHint().height();
    if (needed > area.height()) {
        const int centre = area.center().y();
        area.setHeight(needed);
        area.moveCenter(QPoint(area.center().x(), centre));
    }
    widget->setGeometry(area);
}

void setUpTwipsDialog(QDialog &dialog, const TwipsLayout &twips, const char *name,
                      const QString &title, QSize size)
{
    dialog.setObjectName(QLatin1String(name));
    dialog.setWindowTitle(title);
    dialog.setAttribute(Qt::WA_DeleteOnClose);
    QFont font = dialog.font();
    font.setPointSizeF(9);
    dialog.setFont(font);
    dialog.setFixedSize(twips.size(size.width(), size.height()));
}
