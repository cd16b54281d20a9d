#include "ui/mainwndproc.h"

#include <QEvent>
#include <QLabel>

#include "looks/storedlooks.h"

const QColor MainWndProc::ActiveColour{255, 255, 0};
const QColor MainWndProc::InactiveColour{0, 0, 255};

MainWndProc::MainWndProc(QLabel &title, QObject *parent) : QObject(parent), m_title(title) {}

void MainWndProc::install(QWidget &window)
{
    if (m_window)
        return;
    m_window = &window;
    window.installEventFilter(this);
}

bool MainWndProc::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::ActivationChange) {
        setPaletteColour(m_title, QPalette::WindowText,
                         m_window->isActiveWindow() ? ActiveColour : InactiveColour);
    }
    return false;
}
