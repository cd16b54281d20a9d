#include "core/windowplacement.h"

#include <algorithm>

QPoint placeOnScreens(QPoint topLeft, int width, int stripHeight, const QList<QRect> &screens,
                      const QRect &primary)
{
    const QRect strip(topLeft, QSize(std::max(width, 1), std::max(stripHeight, 1)));
    const bool grabbable = std::any_of(screens.begin(), screens.end(), [&](const QRect &screen) {
        return screen.intersects(strip);
    });
    return grabbable ? topLeft : primary.topLeft();
}

double twipsPerPixel(double logicalDotsPerInch)
{
    return logicalDotsPerInch > 0 ? 1440.0 / logicalDotsPerInch : 15.0;
}
