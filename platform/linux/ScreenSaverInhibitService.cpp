#include "ScreenSaverInhibitService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.ScreenSaver");
}

ScreenSaverInhibitService *ScreenSaverInhibitService::offer(QObject *parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    auto *service = new ScreenSaverInhibitService(parent);
    // Browsers call the object by the newer path, several players by the older one.
    const bool registered =
            bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), service, QDBusConnection::ExportScriptableSlots)
            && bus.registerObject(QStringLiteral("/ScreenSaver"), service, QDBusConnection::ExportScriptableSlots)
            && bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                                QDBusConnectionInterface::DontAllowReplacement).value()
                   == QDBusConnectionInterface::ServiceRegistered;
    if (!registered) {
        bus.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
        bus.unregisterObject(QStringLiteral("/ScreenSaver"));
        delete service;
        return nullptr;
    }
    return service;
}

ScreenSaverInhibitService::ScreenSaverInhibitService(QObject *parent)
    : QObject(parent)
    , holderWatcher(new QDBusServiceWatcher(this))
{
    holderWatcher->setConnection(QDBusConnection::sessionBus());
    holderWatcher->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(holderWatcher, &QDBusServiceWatcher::serviceUnregistered, this, &ScreenSaverInhibitService::forgetHolder);
}

uint ScreenSaverInhibitService::Inhibit(const QString &, const QString &)
{
    // Zero is never handed out: some callers take it for "no inhibition".
    do {
        ++lastCookie;
    } while (lastCookie == 0 || holders.contains(lastCookie));
    const QString holder = calledFromDBus() ? message().service() : QString();
    holders.insert(lastCookie, holder);
    if (!holder.isEmpty())
        holderWatcher->addWatchedService(holder);
    return lastCookie;
}

void ScreenSaverInhibitService::UnInhibit(uint cookie)
{
    // Whoever knows the cookie may end the inhibition (some players release it
    // from a helper process); an unknown cookie changes nothing.
    remove(cookie);
}

void ScreenSaverInhibitService::forgetHolder(const QString &busName)
{
    holderWatcher->removeWatchedService(busName);
    const QList<uint> cookies = holders.keys(busName);
    for (uint cookie : cookies)
        remove(cookie);
}

void ScreenSaverInhibitService::remove(uint cookie)
{
    if (holders.remove(cookie) && holders.isEmpty())
        emit released();
}
