#include "TestEnvironment.h"
#include "linux/MutterIdleMonitor.h"
#include "linux/XScreenSaverIdleTime.h"

#include <QDBusConnection>
#include <QProcess>
#include <QtTest>

#include <memory>

// The sources of the session's idle time, against the real X server and the
// real GNOME compositor (mutter as the X11 window manager on a private bus).
class tst_IdleTimeSources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void xServerNotTrustedInsideAWaylandSession();
    void mutterMonitorOnlyWhereMutterRuns();
    void idleTimeCountsFromTheLastInput_data();
    void idleTimeCountsFromTheLastInput();

private:
    QProcess mutter;
};

void tst_IdleTimeSources::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "runs on a private session bus (dbus-run-session)");
}

void tst_IdleTimeSources::cleanupTestCase()
{
    mutter.terminate();
    mutter.waitForFinished(10000);
}

void tst_IdleTimeSources::xServerNotTrustedInsideAWaylandSession()
{
    QVERIFY(XScreenSaverIdleTime::create());
    qputenv("XDG_SESSION_TYPE", "wayland");
    QVERIFY(!XScreenSaverIdleTime::create());
    qunsetenv("XDG_SESSION_TYPE");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    QVERIFY(!XScreenSaverIdleTime::create());
    qunsetenv("WAYLAND_DISPLAY");
}

void tst_IdleTimeSources::mutterMonitorOnlyWhereMutterRuns()
{
    QVERIFY(!MutterIdleMonitor::create());
    mutter.setProcessChannelMode(QProcess::ForwardedChannels);
    mutter.start(QStringLiteral("mutter"), {"--x11", "--replace", "--sm-disable"});
    QVERIFY(mutter.waitForStarted());
    QVERIFY(TestEnvironment::waitFor([] { return MutterIdleMonitor::create() != nullptr; }));
}

void tst_IdleTimeSources::idleTimeCountsFromTheLastInput_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("X server") << "x11";
    QTest::newRow("GNOME's idle monitor") << "mutter";
}

void tst_IdleTimeSources::idleTimeCountsFromTheLastInput()
{
    QFETCH(QString, source);
    std::unique_ptr<IdleTimeSource> idleTime;
    if (source == QLatin1String("x11"))
        idleTime = XScreenSaverIdleTime::create();
    else
        idleTime = MutterIdleMonitor::create();
    QVERIFY(idleTime);

    TestEnvironment::run(QStringLiteral("xdotool"), {"mousemove_relative", "--", "7", "3"});
    QTest::qWait(300);
    const qint64 afterInput = idleTime->idleMilliseconds();
    QVERIFY2(afterInput >= 0 && afterInput < 2000, qPrintable(QString::number(afterInput)));
    QTest::qWait(1500);
    const qint64 later = idleTime->idleMilliseconds();
    QVERIFY2(later >= afterInput + 1000, qPrintable(QStringLiteral("%1 %2").arg(afterInput).arg(later)));

    TestEnvironment::run(QStringLiteral("xdotool"), {"key", "shift"});
    QTest::qWait(300);
    QVERIFY(idleTime->idleMilliseconds() < later);
}

QTEST_MAIN(tst_IdleTimeSources)
#include "tst_idletimesources.moc"
