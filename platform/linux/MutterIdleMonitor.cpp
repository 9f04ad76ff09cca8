#include "MutterIdleMonitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace {
const QString service = QStringLiteral("org.gnome.Mutter.IdleMonitor");

QDBusMessage idleTimeCall()
{
    return QDBusMessage::createMethodCall(service, QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                                          QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                                          QStringLiteral("GetIdletime"));
}
}

std::unique_ptr<MutterIdleMonitor> MutterIdleMonitor::create()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(service))
        return nullptr;
    return std::unique_ptr<MutterIdleMonitor>(new MutterIdleMonitor);
}

qint64 MutterIdleMonitor::idleMilliseconds()
{
    const QDBusReply<quint64> reply = QDBusConnection::sessionBus().call(idleTimeCall());
    return reply.isValid() ? qint64(reply.value()) : -1;
}
