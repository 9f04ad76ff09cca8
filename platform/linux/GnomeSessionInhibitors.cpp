#include "GnomeSessionInhibitors.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace {
const QString service = QStringLiteral("org.gnome.SessionManager");
// The session manager's flag for "do not go idle".
const uint idleFlag = 8;
}

bool GnomeSessionInhibitors::inhibitIdleness()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(service))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/gnome/SessionManager"),
                                                       service, QStringLiteral("IsInhibited"));
    call << idleFlag;
    const QDBusReply<bool> reply = bus.call(call);
    return reply.isValid() && reply.value();
}
