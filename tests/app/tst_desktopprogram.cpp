#include "DesktopProgram.h"
#include "TestEnvironment.h"
#include "X11Desktop.h"

#include <QtTest>

// The desktop program as a user meets it: real processes in a real X session with
// a window manager and a tray.
class tst_DesktopProgram : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartShowsTrayIconOnlyAndSchedulesTheBalloon();
    void secondStartShowsTheSettingsWindow();
    void quitRequestEndsTheRunningInstance();
    void quitRequestWithNothingRunningStartsNothing();
    void simultaneousStartsLeaveExactlyOneRunning();
    void trayIconClicks();
    void trayMenuQuitEndsTheProgram();
    void settingsWindowSizeAndClose();

private:
    static X11Desktop::WindowId waitForTrayIcon();
    static X11Desktop::WindowId waitForSettingsWindow();
    static bool settingsWindowVisible();
    static QList<X11Desktop::WindowId> balloons();
};

namespace {
const QString settingsTitle = QStringLiteral("^ZINTELLO Settings$");
const int startTimeout = 30000;
}

void tst_DesktopProgram::init()
{
    DesktopProgram::clearSettings();
}

X11Desktop::WindowId tst_DesktopProgram::waitForTrayIcon()
{
    X11Desktop::WindowId icon = 0;
    [&] { QTRY_VERIFY_WITH_TIMEOUT((icon = X11Desktop::trayIcon(QStringLiteral("zintello"))) != 0, startTimeout); }();
    return icon;
}

bool tst_DesktopProgram::settingsWindowVisible()
{
    return !X11Desktop::visibleWindows(settingsTitle).isEmpty();
}

X11Desktop::WindowId tst_DesktopProgram::waitForSettingsWindow()
{
    [] { QTRY_VERIFY_WITH_TIMEOUT(settingsWindowVisible(), startTimeout); }();
    const auto windows = X11Desktop::visibleWindows(settingsTitle);
    return windows.isEmpty() ? 0 : windows.first();
}

QList<X11Desktop::WindowId> tst_DesktopProgram::balloons()
{
    // The tray here shows no notifications of its own, so Qt draws the balloon as
    // a window that carries the message's title.
    return X11Desktop::visibleWindows(QStringLiteral("^$"));
}

void tst_DesktopProgram::firstStartShowsTrayIconOnlyAndSchedulesTheBalloon()
{
    DesktopProgram program;
    QElapsedTimer sinceStart;
    sinceStart.start();
    program.start();
    waitForTrayIcon();
    QVERIFY(DesktopProgram::runningMarkerHeld());
    QVERIFY(!settingsWindowVisible());
    QTRY_COMPARE_WITH_TIMEOUT(DesktopProgram::setting("firstStart").toString(), QString("false"), startTimeout);

    // The settings store's first-start mark is written before the balloon shows.
    const QString balloonText = QStringLiteral("Click on the icon to open the settings");
    Q_UNUSED(balloonText)
    QVERIFY(DesktopProgram::runToEnd({"/q"}) == 0);
}

void tst_DesktopProgram::secondStartShowsTheSettingsWindow()
{
    DesktopProgram program;
    program.start();
    waitForTrayIcon();
    QVERIFY(!settingsWindowVisible());
    QCOMPARE(program.runToEnd({}), 0);
    waitForSettingsWindow();
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

void tst_DesktopProgram::quitRequestEndsTheRunningInstance()
{
    DesktopProgram program;
    QProcess &first = program.start();
    waitForTrayIcon();
    QVERIFY(DesktopProgram::runningMarkerHeld());
    QCOMPARE(program.runToEnd({"/q"}), 0);
    QVERIFY(first.waitForFinished(startTimeout));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
    QVERIFY(!DesktopProgram::runningMarkerHeld());
}

void tst_DesktopProgram::quitRequestWithNothingRunningStartsNothing()
{
    DesktopProgram program;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(program.runToEnd({"-Q"}), 0);
    QVERIFY2(timer.elapsed() < 10000, "a quit request with nothing running ends at once");
    QVERIFY(!QFile::exists(DesktopProgram::settingsFile()));
    QVERIFY(!DesktopProgram::runningMarkerHeld());
    QCOMPARE(X11Desktop::trayIcon(QStringLiteral("zintello")), X11Desktop::WindowId(0));
}

void tst_DesktopProgram::simultaneousStartsLeaveExactlyOneRunning()
{
    DesktopProgram program;
    QProcess &a = program.start();
    QProcess &b = program.start();
    waitForTrayIcon();
    // The one that lost hands "Running" to the winner and ends with 0.
    QTRY_VERIFY_WITH_TIMEOUT(a.state() == QProcess::NotRunning || b.state() == QProcess::NotRunning, startTimeout);
    QProcess &ended = a.state() == QProcess::NotRunning ? a : b;
    QProcess &running = a.state() == QProcess::NotRunning ? b : a;
    QCOMPARE(ended.exitCode(), 0);
    QTest::qWait(1000);
    QCOMPARE(running.state(), QProcess::Running);
    waitForSettingsWindow();
    QCOMPARE(program.runToEnd({"/q"}), 0);
    QVERIFY(running.waitForFinished(startTimeout));
}

void tst_DesktopProgram::trayIconClicks()
{
    DesktopProgram program;
    program.start();
    const QPoint icon = X11Desktop::geometry(waitForTrayIcon()).center();

    X11Desktop::click(icon, 2);   // middle: nothing
    QTest::qWait(1500);
    QVERIFY(!settingsWindowVisible());

    X11Desktop::click(icon, 1);   // left
    const X11Desktop::WindowId window = waitForSettingsWindow();
    X11Desktop::closeGracefully(window);
    QTRY_VERIFY_WITH_TIMEOUT(!settingsWindowVisible(), startTimeout);

    X11Desktop::click(icon, 1, 2);   // double
    waitForSettingsWindow();
    X11Desktop::closeGracefully(window);
    QTRY_VERIFY_WITH_TIMEOUT(!settingsWindowVisible(), startTimeout);

    // Right: the menu, whose first entry is "&Settings".
    X11Desktop::click(icon, 3);
    QTest::qWait(1000);
    X11Desktop::key(QStringLiteral("s"));
    waitForSettingsWindow();
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

void tst_DesktopProgram::trayMenuQuitEndsTheProgram()
{
    DesktopProgram program;
    QProcess &running = program.start();
    const QPoint icon = X11Desktop::geometry(waitForTrayIcon()).center();
    X11Desktop::click(icon, 3);
    QTest::qWait(1000);
    X11Desktop::key(QStringLiteral("q"));
    QVERIFY(running.waitForFinished(startTimeout));
    QCOMPARE(running.exitCode(), 0);
}

void tst_DesktopProgram::settingsWindowSizeAndClose()
{
    DesktopProgram program;
    QProcess &running = program.start();
    waitForTrayIcon();
    program.runToEnd({});
    const X11Desktop::WindowId window = waitForSettingsWindow();
    QTRY_COMPARE_WITH_TIMEOUT(X11Desktop::geometry(window).width(), 540, startTimeout);

    TestEnvironment::run("xdotool", {"windowsize", QString::number(window), "900", "900"});
    QTRY_COMPARE(X11Desktop::geometry(window).size(), QSize(540, 600));
    TestEnvironment::run("xdotool", {"windowsize", QString::number(window), "100", "100"});
    QTRY_COMPARE(X11Desktop::geometry(window).size(), QSize(540, 582));

    X11Desktop::closeGracefully(window);
    QTRY_VERIFY_WITH_TIMEOUT(!settingsWindowVisible(), startTimeout);
    QTest::qWait(1000);
    QCOMPARE(running.state(), QProcess::Running);
    QVERIFY(X11Desktop::trayIcon(QStringLiteral("zintello")) != 0);
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

QTEST_GUILESS_MAIN(tst_DesktopProgram)
#include "tst_desktopprogram.moc"
