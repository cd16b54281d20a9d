#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QSystemTrayIcon>

class FmMain;
class PlayerMenus;
class Session;

// The player in the desktop's notification area, as the settings' TrayMode asks: 0 on the
// taskbar only, 1 in the notification area only (the window leaves the taskbar), 2 in both.
// The icon's tooltip is the song line; a left click shows or hides the window, the right
// button opens the main menu. Where the desktop has no notification area every mode acts as
// 0, without a word. The mode follows the settings as they change. The icon is made only once
// a mode asks for it: in mode 0 neither it nor the question for a notification area (a
// round trip on the session bus) delays the start.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    // `hasNotificationArea` tells whether the desktop shows tray icons.
    TrayIcon(FmMain &window, Session &session, PlayerMenus &menus,
             std::function<bool()> hasNotificationArea = &QSystemTrayIcon::isSystemTrayAvailable);

    // Made on first use.
    QSystemTrayIcon &icon();

    // Gives the window and the icon the current mode; the window calls it before it shows.
    void apply();

private:
    // The mode in effect: TrayMode, or 0 without a notification area.
    int mode() const;
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    FmMain &m_window;
    Session &m_session;
    PlayerMenus &m_menus;
    std::function<bool()> m_hasNotificationArea;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
