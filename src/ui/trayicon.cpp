#include "ui/trayicon.h"

#include <QCursor>

#include "core/session.h"
#include "ui/fmmain.h"
#include "ui/playermenus.h"

namespace {

constexpr int TaskbarOnly = 0;
constexpr int NotificationAreaOnly = 1;

} // namespace

TrayIcon::TrayIcon(FmMain &window, Session &session, PlayerMenus &menus,
                   std::function<bool()> hasNotificationArea)
    : m_window(window), m_session(session), m_menus(menus),
      m_hasNotificationArea(std::move(hasNotificationArea))
{
    connect(&window.player().labels(), &DisplayLabels::changed, this,
            [this](DisplayLabels::Label label, const QString &text) {
                if (label == DisplayLabels::Label::LInfo && m_icon)
                    m_icon->setToolTip(text);
            });
    connect(&session, &Session::settingsChanged, this, &TrayIcon::apply);
}

QSystemTrayIcon &TrayIcon::icon()
{
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>(m_window.windowIcon());
        const QString line = m_window.player().labels().text(DisplayLabels::Label::LInfo);
        m_icon->setToolTip(line.isEmpty() ? m_window.windowTitle() : line);
        connect(m_icon.get(), &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
    }
    return *m_icon;
}

int TrayIcon::mode() const
{
    const int wanted = m_session.settings().shared.TrayMode;
    return wanted != TaskbarOnly && m_hasNotificationArea() ? wanted : TaskbarOnly;
}

void TrayIcon::apply()
{
    const int current = mode();
    if (current != TaskbarOnly || m_icon)
        icon().setVisible(current != TaskbarOnly);
    // A tool window stays off the taskbar. Changing the flag hides a shown window, which is
    // then shown again as it was.
    const Qt::WindowType type = current == NotificationAreaOnly ? Qt::Tool : Qt::Window;
    if (m_window.windowType() == type)
        return;
    const bool wasVisible = m_window.isVisible();
    m_window.setWindowFlags((m_window.windowFlags() & ~Qt::WindowType_Mask) | type);
    if (wasVisible)
        m_window.show();
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Context) {
        m_menus.popupMainMenu(QCursor::pos());
    } else if (reason == QSystemTrayIcon::Trigger) {
        if (m_window.isVisible() && !m_window.isMinimized())
            m_window.hide();
        else
            m_window.bringForward();
    }
}
