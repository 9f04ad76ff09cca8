// A session's tray and notification service as far as Qt's StatusNotifierItem
// support needs them: a watcher with a host, so that Qt shows its tray icon over
// D-Bus, and a notification server that prints every notification it gets, one
// line each ("notification: SUMMARY: BODY"), so that a test sees the program's
// tray messages.
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QStringList>
#include <QVariantMap>

#include <cstdio>

class StatusNotifierWatcher : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isStatusNotifierHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredStatusNotifierItems)

public:
    explicit StatusNotifierWatcher(QObject *parent) : QDBusAbstractAdaptor(parent) {}
    bool isStatusNotifierHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList registeredStatusNotifierItems() const { return items; }

public slots:
    void RegisterStatusNotifierItem(const QString &service) { items.append(service); }
    void RegisterStatusNotifierHost(const QString &) {}

private:
    QStringList items;
};

class Notifications : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit Notifications(QObject *parent) : QDBusAbstractAdaptor(parent) {}

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        std::printf("notification: %s: %s\n", qPrintable(summary), qPrintable(body));
        std::fflush(stdout);
        return ++lastId;
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
    QString GetServerInformation(QString &vendor, QString &version, QString &specVersion)
    {
        vendor = version = QStringLiteral("test");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("tray_and_notifications");
    }
    void CloseNotification(uint) {}

private:
    uint lastId = 0;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    QObject watcher;
    new StatusNotifierWatcher(&watcher);
    QObject notifications;
    new Notifications(&notifications);
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher)
            || !bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications)
            || !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))
            || !bus.registerService(QStringLiteral("org.freedesktop.Notifications")))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "tray_and_notifications.moc"
