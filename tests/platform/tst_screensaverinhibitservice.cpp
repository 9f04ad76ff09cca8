#include "TestEnvironment.h"
#include "linux/ScreenSaverInhibitService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QSignalSpy>
#include <QtTest>

// The org.freedesktop.ScreenSaver service on a private session bus, called by
// players on connections of their own, as a media player or browser does.
class tst_ScreenSaverInhibitService : public QObject
{
    Q_OBJECT

private slots:
    void notOfferedWhereAnotherProgramOwnsTheName();
    void offeredWhereNobodyDoes();
    void inhibitUntilUnInhibit_data();
    void inhibitUntilUnInhibit();
    void holdersLeavingTheBusEndTheirInhibitions();

private:
    static QDBusConnection player(const QString &name);
    static QDBusPendingCall call(const QString &player, const QString &path, const QString &method,
                                 const QVariantList &arguments);
    static uint inhibit(const QString &player, const QString &path = QStringLiteral("/org/freedesktop/ScreenSaver"));
    static void unInhibit(const QString &player, uint cookie);

    ScreenSaverInhibitService *service = nullptr;
    const QString serviceName = QStringLiteral("org.freedesktop.ScreenSaver");
};

QDBusConnection tst_ScreenSaverInhibitService::player(const QString &name)
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
}

QDBusPendingCall tst_ScreenSaverInhibitService::call(const QString &player, const QString &path,
                                                     const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"), path,
                                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
    message.setArguments(arguments);
    // The service answers in this thread: the call must not block it.
    QDBusPendingCall pending = tst_ScreenSaverInhibitService::player(player).asyncCall(message);
    TestEnvironment::waitFor([&] { return pending.isFinished(); }, 10000);
    return pending;
}

uint tst_ScreenSaverInhibitService::inhibit(const QString &player, const QString &path)
{
    QDBusPendingReply<uint> reply = call(player, path, QStringLiteral("Inhibit"),
                                         {QStringLiteral("tst"), QStringLiteral("a film")});
    return reply.isValid() ? reply.value() : 0;
}

void tst_ScreenSaverInhibitService::unInhibit(const QString &player, uint cookie)
{
    call(player, QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("UnInhibit"), {cookie});
}

void tst_ScreenSaverInhibitService::notOfferedWhereAnotherProgramOwnsTheName()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "runs on a private session bus (dbus-run-session)");
    {
        QDBusConnection desktop = player(QStringLiteral("desktop"));
        QVERIFY(desktop.registerService(serviceName));
        QVERIFY(!ScreenSaverInhibitService::offer(this));
        // The other owner is left alone.
        QCOMPARE(QDBusConnection::sessionBus().interface()->serviceOwner(serviceName).value(), desktop.baseService());
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
    QVERIFY(TestEnvironment::waitFor([&] {
        return !QDBusConnection::sessionBus().interface()->isServiceRegistered(serviceName).value();
    }));
}

void tst_ScreenSaverInhibitService::offeredWhereNobodyDoes()
{
    service = ScreenSaverInhibitService::offer(this);
    QVERIFY(service);
    QCOMPARE(QDBusConnection::sessionBus().interface()->serviceOwner(serviceName).value(),
             QDBusConnection::sessionBus().baseService());
    QVERIFY(!service->isInhibited());
}

void tst_ScreenSaverInhibitService::inhibitUntilUnInhibit_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("browsers' path") << "/org/freedesktop/ScreenSaver";
    QTest::newRow("players' older path") << "/ScreenSaver";
}

void tst_ScreenSaverInhibitService::inhibitUntilUnInhibit()
{
    QFETCH(QString, path);
    QVERIFY(service);
    QSignalSpy released(service, &ScreenSaverInhibitService::released);

    const uint first = inhibit(QStringLiteral("player"), path);
    const uint second = inhibit(QStringLiteral("player"), path);
    QVERIFY(first != 0 && second != 0 && first != second);
    QVERIFY(service->isInhibited());

    unInhibit(QStringLiteral("player"), second + first + 1000);
    QVERIFY(service->isInhibited());
    unInhibit(QStringLiteral("player"), first);
    QVERIFY(service->isInhibited());
    QCOMPARE(released.count(), 0);
    // Whoever knows the cookie may end it.
    unInhibit(QStringLiteral("helper"), second);
    QVERIFY(!service->isInhibited());
    QCOMPARE(released.count(), 1);
    unInhibit(QStringLiteral("player"), second);
    QCOMPARE(released.count(), 1);
}

void tst_ScreenSaverInhibitService::holdersLeavingTheBusEndTheirInhibitions()
{
    QVERIFY(service);
    QSignalSpy released(service, &ScreenSaverInhibitService::released);
    QVERIFY(inhibit(QStringLiteral("film")) != 0);
    QVERIFY(inhibit(QStringLiteral("film")) != 0);
    QVERIFY(inhibit(QStringLiteral("music")) != 0);

    QDBusConnection::disconnectFromBus(QStringLiteral("music"));
    QTest::qWait(500);
    QVERIFY(service->isInhibited());
    QCOMPARE(released.count(), 0);

    QDBusConnection::disconnectFromBus(QStringLiteral("film"));
    QVERIFY(TestEnvironment::waitFor([&] { return !service->isInhibited(); }, 10000));
    QCOMPARE(released.count(), 1);
}

QTEST_MAIN(tst_ScreenSaverInhibitService)
#include "tst_screensaverinhibitservice.moc"
