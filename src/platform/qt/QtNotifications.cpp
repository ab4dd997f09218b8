#include "platform/qt/QtNotifications.h"

#include "platform/TrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");

} // namespace

bool QtNotifications::serverRunning()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(service).value();
}

void QtNotifications::notify(const QString& title, const QString& text)
{
    // QSystemTrayIcon::showMessage reaches the server only when the icon itself went over D-Bus;
    // docked by XEmbed it draws a balloon of its own. Ask the server directly.
    if (!serverRunning()) {
        m_fallback.showMessage(title, text);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/freedesktop/Notifications"), service, QStringLiteral("Notify"));
    call << QStringLiteral("Kestrin") << uint(0) << QStringLiteral("kestrin") << title << text
         << QStringList()
         << QVariantMap{{QStringLiteral("desktop-entry"), QStringLiteral("kestrin")},
                        {QStringLiteral("urgency"), QVariant::fromValue(uchar(2))}}
         << int(-1);
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
}
