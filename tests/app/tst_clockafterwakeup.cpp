#include "OfflineNetwork.h"
#include "TestIdentity.h"
#include "ZintelloDesktopBackgroundWidget.h"
#include "ZintelloDesktopSettingsWindow.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTime>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

#include <sys/syscall.h>
#include <unistd.h>

#include <ctime>

#include <memory>

// The desktop's clock after the machine wakes from sleep. The test runs under
// libfaketime with the wall clock's offset in a file and the monotonic clock
// left alone: moving the offset is what a suspend looks like to the program.
// A stand-in login manager on a private system bus announces the wake-up.
class tst_ClockAfterWakeUp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pageShowsTheRightTimeSoonAfterTheWakeUp();
    void pageShowsTheRightTimeSoonAfterTheClockIsSet();

private:
    static void moveWallClock(const QString &offset);
    QString shownTime() const;
    static QString expectedTime();

    QProcess systemBus;
    std::unique_ptr<ZintelloDesktopSettingsWindow> window;
};

void tst_ClockAfterWakeUp::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("FAKETIME_TIMESTAMP_FILE"), "run under libfaketime");
    TestIdentity::desktopProgram();
    QApplication::setQuitOnLastWindowClosed(false);
    OfflineNetwork::install();
    QSettings().clear();

    systemBus.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    QVERIFY(systemBus.waitForReadyRead(10000));
    const QByteArray address = systemBus.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    // Before anything in this process asks for the system bus.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    QDBusConnection loginManager = QDBusConnection::connectToBus(QString::fromLatin1(address), "loginManager");
    QVERIFY(loginManager.isConnected());
    QVERIFY(loginManager.registerService("org.freedesktop.login1"));
}

void tst_ClockAfterWakeUp::cleanupTestCase()
{
    window.reset();
    QDBusConnection::disconnectFromBus("loginManager");
    systemBus.kill();
    systemBus.waitForFinished();
    moveWallClock("+0");
}

void tst_ClockAfterWakeUp::moveWallClock(const QString &offset)
{
    QFile file(qEnvironmentVariable("FAKETIME_TIMESTAMP_FILE"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(offset.toLatin1() + '\n');
}

QString tst_ClockAfterWakeUp::shownTime() const
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (auto *background = qobject_cast<ZintelloDesktopBackgroundWidget *>(widget))
            return background->webView->page()->mainFrame()->evaluateJavaScript(
                       "document.getElementById('time').textContent").toString();
    }
    return QString();
}

QString tst_ClockAfterWakeUp::expectedTime()
{
    // The page speaks English here, with the 12-hour clock.
    const QTime now = QTime::currentTime();
    return QStringLiteral("%1:%2").arg((now.hour() + 11) % 12 + 1).arg(now.minute(), 2, 10, QLatin1Char('0'));
}

void tst_ClockAfterWakeUp::pageShowsTheRightTimeSoonAfterTheWakeUp()
{
    moveWallClock("+0");
    window = std::make_unique<ZintelloDesktopSettingsWindow>();
    QTRY_COMPARE_WITH_TIMEOUT(shownTime(), expectedTime(), 20000);

    // Asleep for three minutes and a half: the wall clock went on, the monotonic
    // clock and with it every timer stood still.
    moveWallClock("+210s");
    QDBusMessage wakeUp = QDBusMessage::createSignal("/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                                     "PrepareForSleep");
    wakeUp << false;
    QVERIFY(QDBusConnection(QStringLiteral("loginManager")).send(wakeUp));
    QTRY_COMPARE_WITH_TIMEOUT(shownTime(), expectedTime(), 2000);
}

void tst_ClockAfterWakeUp::pageShowsTheRightTimeSoonAfterTheClockIsSet()
{
    QTRY_COMPARE_WITH_TIMEOUT(shownTime(), expectedTime(), 20000);
    moveWallClock("+390s");
    // What a time server or the user does. The machine's clock is set to the
    // time it already has, read and set past libfaketime with the plain system
    // calls: only this process's faked clock moved, above.
    timespec now;
    QCOMPARE(syscall(SYS_clock_gettime, CLOCK_REALTIME, &now), 0L);
    if (syscall(SYS_clock_settime, CLOCK_REALTIME, &now) != 0)
        QSKIP("setting the clock needs root");
    QTRY_COMPARE_WITH_TIMEOUT(shownTime(), expectedTime(), 2000);
}

QTEST_MAIN(tst_ClockAfterWakeUp)
#include "tst_clockafterwakeup.moc"
