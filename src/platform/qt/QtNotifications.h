#pragma once

#include "platform/Notifications.h"

#include <QHash>

class TrayIcon;

// The desktop's notification server (org.freedesktop.Notifications on the session bus) where one
// runs; the tray icon's own balloon otherwise, which has no buttons and cannot be taken back.
class QtNotifications final : public Notifications
{
    Q_OBJECT
public:
    explicit QtNotifications(TrayIcon& fallback);
    int notify(const QString& title, const QString& text, const QList<Action>& actions = {}) override;
    void withdraw(int handle) override;
    // Whether a notification server owns its name on the session bus now.
    static bool serverRunning();

private slots:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

private:
    static bool offersActions();
    void close(uint id);

    TrayIcon& m_fallback;
    int m_lastHandle = 0;
    QHash<int, uint> m_ids;     // handle → the server's id, once the server has answered
    QHash<int, bool> m_pending; // handle → taken back already, while the server has not answered
};
