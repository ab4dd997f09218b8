#include "platform/qt/NetworkWatch.h"

#include <QDBusConnection>

namespace {

// NM_STATE_CONNECTED_GLOBAL: a route to the Internet.
constexpr uint connectedGlobal = 70;

} // namespace

NetworkWatch::NetworkWatch(QObject* parent) : QObject(parent)
{
    QDBusConnection::systemBus().connect(QStringLiteral("org.freedesktop.NetworkManager"),
                                         QStringLiteral("/org/freedesktop/NetworkManager"),
                                         QStringLiteral("org.freedesktop.NetworkManager"),
                                         QStringLiteral("StateChanged"), this, SLOT(stateChanged(uint)));
}

void NetworkWatch::stateChanged(uint state)
{
    const bool back = state == connectedGlobal && m_state != connectedGlobal;
    m_state = state;
    if (back)
        emit online();
}
