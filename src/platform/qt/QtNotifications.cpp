#include "platform/qt/QtNotifications.h"

#include "platform/TrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(service, path, service, method);
}

} // namespace

QtNotifications::QtNotifications(TrayIcon& fallback) : m_fallback(fallback)
{
    // From any sender: a server started after the program still reaches it.
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(QString(), path, service, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(QString(), path, service, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
}

bool QtNotifications::serverRunning()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(service).value();
}

bool QtNotifications::offersActions()
{
    // A server that does not answer within a second offers nothing worth waiting for.
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(call(QStringLiteral("GetCapabilities")), QDBus::Block, 1000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().toStringList().contains(QStringLiteral("actions"));
}

int QtNotifications::notify(const QString& title, const QString& text, const QList<Action>& actions)
{
    const int handle = ++m_lastHandle;
    // QSystemTrayIcon::showMessage reaches the server only when the icon itself went over D-Bus;
    // docked by XEmbed it draws a balloon of its own. Ask the server directly.
    if (!serverRunning()) {
        m_fallback.showMessage(title, text);
        return handle;
    }
    QStringList buttons;
    if (!actions.isEmpty() && offersActions())
        for (const Action& action : actions)
            buttons << action.key << action.label;
    QDBusMessage notify = call(QStringLiteral("Notify"));
    notify << QStringLiteral("Kestrin") << uint(0) << QStringLiteral("kestrin") << title << text << buttons
           << QVariantMap{{QStringLiteral("desktop-entry"), QStringLiteral("kestrin")},
                          {QStringLiteral("urgency"), QVariant::fromValue(uchar(2))}}
           << int(-1);
    // The ring goes on while the server answers.
    m_pending.insert(handle, false);
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, handle](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const bool withdrawn = m_pending.take(handle);
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError())
            return;
        if (withdrawn)
            close(reply.value());
        else
            m_ids.insert(handle, reply.value());
    });
    return handle;
}

void QtNotifications::withdraw(int handle)
{
    if (const auto it = m_ids.constFind(handle); it != m_ids.constEnd()) {
        close(*it);
        m_ids.erase(it);
    } else if (const auto pending = m_pending.find(handle); pending != m_pending.end()) {
        *pending = true;
    }
}

void QtNotifications::close(uint id)
{
    QDBusMessage message = call(QStringLiteral("CloseNotification"));
    message << id;
    QDBusConnection::sessionBus().call(message, QDBus::NoBlock);
}

void QtNotifications::onActionInvoked(uint id, const QString& key)
{
    for (auto it = m_ids.cbegin(); it != m_ids.cend(); ++it)
        if (*it == id) {
            emit actionInvoked(it.key(), key);
            return;
        }
}

void QtNotifications::onClosed(uint id, uint)
{
    for (auto it = m_ids.begin(); it != m_ids.end(); ++it)
        if (*it == id) {
            m_ids.erase(it);
            return;
        }
}
