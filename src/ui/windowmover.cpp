#include "ui/windowmover.h"

#include <cmath>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "core/windowplacement.h"
#include "ui/dragstrip.h"

WindowMover::WindowMover(QWidget &window, QObject *parent) : QObject(parent), m_window(window) {}

bool WindowMover::canPlaceItself()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

double WindowMover::twipsPerPixelX() const
{
    return twipsPerPixel(m_window.screen()->logicalDotsPerInchX());
}

double WindowMover::twipsPerPixelY() const
{
    return twipsPerPixel(m_window.screen()->logicalDotsPerInchY());
}

void WindowMover::setSnapPixels(int pixels)
{
    SnapTwips = int(std::lrint(pixels * twipsPerPixelX()));
}

void WindowMover::restorePlace(QPointF savedTwips, int stripHeight)
{
    if (!canPlaceItself())
        return;
    const QPoint saved(int(std::lrint(savedTwips.x() / twipsPerPixelX())),
                       int(std::lrint(savedTwips.y() / twipsPerPixelY())));
    QList<QRect> screens;
    for (const QScreen *each : QGuiApplication::screens())
        screens.append(each->geometry());
    const QScreen *primary = QGuiApplication::primaryScreen();
    placeAt(placeOnScreens(saved, m_window.width(), stripHeight, screens,
                           primary ? primary->availableGeometry() : QRect()));
}

QPointF WindowMover::inTwips(QPoint place) const
{
    return {place.x() * twipsPerPixelX(), place.y() * twipsPerPixelY()};
}

// The geometry, unlike move(), places the window itself and not a frame around it, whose
// size is known only once the window is shown.
void WindowMover::placeAt(QPoint place)
{
    m_window.setGeometry(QRect(place, m_window.size()));
}

void WindowMover::attach(DragStrip &strip)
{
    connect(&strip, &DragStrip::pressed, this, [this](Qt::MouseButton button, QPointF at) {
        DragStartX = int(std::lrint(at.x()));
        DragStartY = int(std::lrint(at.y()));
        if (button == Qt::LeftButton && !canPlaceItself() && m_window.windowHandle())
            m_window.windowHandle()->startSystemMove();
    });
    // The pointer's place in the strip is taken from where this window put itself, so a
    // move the window system has not carried out yet is not counted twice.
    connect(&strip, &DragStrip::dragged, this, [this, &strip](QPointF global) {
        if (!canPlaceItself())
            return;
        const QPointF origin = m_window.geometry().topLeft() + strip.mapTo(&m_window, QPoint());
        DragWindow(global.x() - origin.x(), global.y() - origin.y());
    });
}

void WindowMover::DragWindow(double x, double y)
{
    const QPointF twips(twipsPerPixelX(), twipsPerPixelY());
    const auto rectInTwips = [&twips](const QRect &rect) {
        return QRectF(rect.x() * twips.x(), rect.y() * twips.y(), rect.width() * twips.x(),
                      rect.height() * twips.y());
    };
    const QPointF place = dragWindowPlace(
        rectInTwips(m_window.geometry()), rectInTwips(m_window.screen()->geometry()),
        QPointF(x - DragStartX, y - DragStartY), twips, SnapTwips);
    placeAt(QPoint(int(std::lrint(place.x() / twips.x())), int(std::lrint(place.y() / twips.y()))));
}
