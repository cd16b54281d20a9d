#include "core/windowplacement.h"

#include <algorithm>
#include <cmath>
#include <optional>

QPoint placeOnScreens(QPoint topLeft, int width, int stripHeight, const QList<QRect> &screens,
                      const QRect &primary)
{
    const QRect strip(topLeft, QSize(std::max(width, 1), std::max(stripHeight, 1)));
    const bool grabbable = std::any_of(screens.begin(), screens.end(), [&](const QRect &screen) {
        return screen.intersects(strip);
    });
    return grabbable ? topLeft : primary.topLeft();
}

QPoint placeWhole(const QRect &window, const QRect &available)
{
    const auto along = [](int place, int size, int start, int length) {
        return size > length ? start : std::clamp(place, start, start + length - size);
    };
    return {along(window.x(), window.width(), available.x(), available.width()),
            along(window.y(), window.height(), available.y(), available.height())};
}

double fittingPixelRatio(QSize windowPixels, QSize availablePixels, double ratio,
                         const QList<double> &skinRatios)
{
    const auto fits = [&](double each) {
        return windowPixels.width() * each <= availablePixels.width() &&
               windowPixels.height() * each <= availablePixels.height();
    };
    if (fits(ratio))
        return ratio;
    std::optional<double> largestFitting;
    std::optional<double> smallest;
    for (const double each : skinRatios) {
        if (each >= ratio)
            continue;
        if (fits(each) && (!largestFitting || each > *largestFitting))
            largestFitting = each;
        if (!smallest || each < *smallest)
            smallest = each;
    }
    return largestFitting.value_or(smallest.value_or(ratio));
}

double twipsPerPixel(double logicalDotsPerInch)
{
    return logicalDotsPerInch > 0 ? 1440.0 / logicalDotsPerInch : 15.0;
}

namespace {

// Window places come from whole pixels times a factor; within half a twip they are equal.
bool sameTwips(double a, double b)
{
    return std::abs(a - b) < 0.5;
}

} // namespace

QPointF dragWindowPlace(const QRectF &window, const QRectF &screen, QPointF offset,
                        QPointF twipsPerPixel, double snapTwips)
{
    // Places relative to the screen's top-left corner.
    double left = window.left() - screen.left();
    double top = window.top() - screen.top();
    const double rightmost = screen.width() - window.width();

    if (std::abs(offset.x()) > 1) {
        const double dx = offset.x() * twipsPerPixel.x();
        const bool onEdge = sameTwips(left, 0) || sameTwips(left, rightmost);
        if (!onEdge || std::abs(dx) > snapTwips) {
            left += dx;
            if (std::abs(left) < snapTwips)
                left = 0;
            if (std::abs(rightmost - left) < snapTwips)
                left = rightmost;
        }
    }
    if (std::abs(offset.y()) > 1) {
        const double dy = offset.y() * twipsPerPixel.y();
        if (!sameTwips(top, 0) || dy > snapTwips) {
            top += dy;
            if (top < snapTwips)
                top = 0;
        }
    }
    return {left + screen.left(), top + screen.top()};
}
