#pragma once

#include "platform/Notifications.h"

class TrayIcon;

// The desktop's notification server (org.freedesktop.Notifications on the session bus) where one
// runs; the tray icon's own balloon otherwise.
class QtNotifications final : public Notifications
{
public:
    explicit QtNotifications(TrayIcon& fallback) : m_fallback(fallback) {}
    void notify(const QString& title, const QString& text) override;
    // Whether a notification server owns its name on the session bus now.
    static bool serverRunning();

private:
    TrayIcon& m_fallback;
};
