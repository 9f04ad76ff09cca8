#include "DesktopProgram.h"
#include "DesktopProgramSettings.h"
#include "SaveNetworkCookieJar.h"
#include "TestEnvironment.h"
#include "X11Desktop.h"
#include "ZintelloVersion.h"

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
    void secondStartBringsACoveredWindowToTheFront();
    void quitRequestEndsTheRunningInstance();
    void quitRequestWithNothingRunningStartsNothing();
    void helpAndVersionLeaveTheRunningInstanceAlone();
    void oneStartCookieWhateverTheProgramDirectoryIsCalled();
    void simultaneousStartsLeaveExactlyOneRunning();
    void trayIconClicks();
    void trayMenuQuitEndsTheProgram();
    void settingsWindowSizeAndClose();

private:
    static QList<X11Desktop::WindowId> balloons();
};

namespace {
const int startTimeout = 30000;
}

void tst_DesktopProgram::init()
{
    DesktopProgram::clearSettings();
}

QList<X11Desktop::WindowId> tst_DesktopProgram::balloons()
{
    // The tray here shows no notifications of its own, so Qt draws the balloon as
    // a small window of the program's own.
    QList<X11Desktop::WindowId> found;
    const auto windows = X11Desktop::visibleWindowsOfProgram(QStringLiteral("zintello"));
    for (X11Desktop::WindowId window : windows) {
        const QSize size = X11Desktop::geometry(window).size();
        if (size.width() > 22 && size.height() < 300)
            found.append(window);
    }
    return found;
}

void tst_DesktopProgram::firstStartShowsTrayIconOnlyAndSchedulesTheBalloon()
{
    DesktopProgram program;
    QElapsedTimer sinceStart;
    sinceStart.start();
    program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    QVERIFY(DesktopProgram::runningMarkerHeld());
    QVERIFY(!DesktopProgram::settingsWindowVisible());
    QVERIFY(TestEnvironment::waitFor([&] { return !balloons().isEmpty(); }));
    QVERIFY(sinceStart.elapsed() >= 2000);
    QCOMPARE(DesktopProgram::setting(DesktopProgramSettings::firstStartKey).toString(), QString("false"));
    QCOMPARE(program.runToEnd({"/q"}), 0);

    program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    QTest::qWait(4000);
    QVERIFY(balloons().isEmpty());
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

void tst_DesktopProgram::secondStartShowsTheSettingsWindow()
{
    DesktopProgram program;
    program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    QVERIFY(!DesktopProgram::settingsWindowVisible());
    QCOMPARE(program.runToEnd({}), 0);
    QVERIFY(DesktopProgram::waitForSettingsWindow());
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

void tst_DesktopProgram::secondStartBringsACoveredWindowToTheFront()
{
    DesktopProgram program;
    program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    QCOMPARE(program.runToEnd({}), 0);
    const X11Desktop::WindowId window = DesktopProgram::waitForSettingsWindow();
    QVERIFY(window);

    // Another program's window over it, with the focus.
    QProcess other;
    other.start(QStringLiteral("xclock"), {QStringLiteral("-geometry"), QStringLiteral("700x700+0+0")});
    QVERIFY(TestEnvironment::waitFor([] { return !X11Desktop::visibleWindows(QStringLiteral("^xclock$")).isEmpty(); }));
    const X11Desktop::WindowId clock = X11Desktop::visibleWindows(QStringLiteral("^xclock$")).first();
    X11Desktop::activate(clock);
    const auto isAbove = [](X11Desktop::WindowId upper, X11Desktop::WindowId lower) {
        const QList<X11Desktop::WindowId> stacking = X11Desktop::stackingOrder();
        return stacking.contains(upper) && stacking.indexOf(upper) > stacking.indexOf(lower);
    };
    QVERIFY(TestEnvironment::waitFor([&] { return isAbove(clock, window); }));

    QCOMPARE(program.runToEnd({}), 0);
    QVERIFY(TestEnvironment::waitFor([&] { return isAbove(window, clock); }));
    // The settings window is a client window or inside the frame that the
    // window manager lists.
    QVERIFY(TestEnvironment::waitFor([&] {
        return X11Desktop::isSameOrInside(window, X11Desktop::activeWindow())
               || X11Desktop::activeWindow() == window;
    }));
    other.kill();
    other.waitForFinished();
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

void tst_DesktopProgram::quitRequestEndsTheRunningInstance()
{
    DesktopProgram program;
    QProcess &first = program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
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
    QCOMPARE(X11Desktop::trayIcon(QStringLiteral("Zintello")), X11Desktop::WindowId(0));
}

void tst_DesktopProgram::helpAndVersionLeaveTheRunningInstanceAlone()
{
    DesktopProgram program;
    QProcess &first = program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());

    const QList<QPair<QString, QByteArray>> questions{
        {"--help", "Usage: zintello"}, {"-h", "Usage: zintello"}, {"--version", "ZINTELLO " ZINTELLO_VERSION "\n"}};
    for (const auto &question : questions) {
        QProcess asking;
        // Answered without a display.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        asking.setProcessEnvironment(environment);
        asking.start(program.programFile(), {question.first});
        QVERIFY(asking.waitForFinished(startTimeout));
        QCOMPARE(asking.exitStatus(), QProcess::NormalExit);
        QCOMPARE(asking.exitCode(), 0);
        const QByteArray answer = asking.readAllStandardOutput();
        QVERIFY2(answer.startsWith(question.second), answer.constData());
    }
    QTest::qWait(1000);
    QVERIFY(!DesktopProgram::settingsWindowVisible());
    QCOMPARE(first.state(), QProcess::Running);

    QCOMPARE(program.runToEnd({"--quit"}), 0);
    QVERIFY(first.waitForFinished(startTimeout));
    QCOMPARE(first.exitCode(), 0);
}

void tst_DesktopProgram::oneStartCookieWhateverTheProgramDirectoryIsCalled()
{
    DesktopProgram program = DesktopProgram::inTemporaryDirectory(QString::fromUtf8("Grüße a;b XXXXXX"));
    for (int start = 1; start <= 3; ++start) {
        QProcess &running = program.start();
        QVERIFY(DesktopProgram::waitForTrayIcon());
        QCOMPARE(program.runToEnd({"/q"}), 0);
        QVERIFY(running.waitForFinished(startTimeout));
    }
    const QByteArray stored = DesktopProgram::setting(SaveNetworkCookieJar::cookiesKey).toByteArray();
    QCOMPARE(stored.count("background_reset="), 1);
}

void tst_DesktopProgram::simultaneousStartsLeaveExactlyOneRunning()
{
    DesktopProgram program;
    QProcess &a = program.start();
    QProcess &b = program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    // The one that lost hands "Running" to the winner and ends with 0.
    QVERIFY(TestEnvironment::waitFor([&] { return a.state() == QProcess::NotRunning || b.state() == QProcess::NotRunning; }));
    QProcess &ended = a.state() == QProcess::NotRunning ? a : b;
    QProcess &running = a.state() == QProcess::NotRunning ? b : a;
    QCOMPARE(ended.exitCode(), 0);
    QTest::qWait(1000);
    QCOMPARE(running.state(), QProcess::Running);
    QVERIFY(DesktopProgram::waitForSettingsWindow());
    QCOMPARE(program.runToEnd({"/q"}), 0);
    QVERIFY(running.waitForFinished(startTimeout));
}

void tst_DesktopProgram::trayIconClicks()
{
    DesktopProgram program;
    program.start();
    const X11Desktop::WindowId iconWindow = DesktopProgram::waitForTrayIcon();
    QVERIFY(iconWindow);
    const QPoint icon = X11Desktop::geometry(iconWindow).center();

    X11Desktop::click(icon, 2);   // middle: nothing
    QTest::qWait(1500);
    QVERIFY(!DesktopProgram::settingsWindowVisible());

    X11Desktop::click(icon, 1);   // left
    const X11Desktop::WindowId window = DesktopProgram::waitForSettingsWindow();
    QVERIFY(window);
    X11Desktop::closeGracefully(window);
    QVERIFY(TestEnvironment::waitFor([&] { return !DesktopProgram::settingsWindowVisible(); }));

    X11Desktop::click(icon, 1, 2);   // double
    QVERIFY(DesktopProgram::waitForSettingsWindow());
    X11Desktop::closeGracefully(window);
    QVERIFY(TestEnvironment::waitFor([&] { return !DesktopProgram::settingsWindowVisible(); }));

    // Right: the menu, whose first entry is "&Settings".
    X11Desktop::click(icon, 3);
    QTest::qWait(1000);
    X11Desktop::key(QStringLiteral("s"));
    QVERIFY(DesktopProgram::waitForSettingsWindow());
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

void tst_DesktopProgram::trayMenuQuitEndsTheProgram()
{
    DesktopProgram program;
    QProcess &running = program.start();
    const X11Desktop::WindowId iconWindow = DesktopProgram::waitForTrayIcon();
    QVERIFY(iconWindow);
    const QPoint icon = X11Desktop::geometry(iconWindow).center();
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
    QVERIFY(DesktopProgram::waitForTrayIcon());
    program.runToEnd({});
    const X11Desktop::WindowId window = DesktopProgram::waitForSettingsWindow();
    QVERIFY(window);
    // The form's sizes are device-independent: a session of twice the usual
    // resolution (Xft.dpi 192) shows the window twice as large.
    const QRegularExpression dpiResource(QStringLiteral("Xft.dpi:\\s*(\\d+)"));
    const QRegularExpressionMatch dpi = dpiResource.match(TestEnvironment::run("xrdb", {"-query"}));
    const int scale = dpi.hasMatch() ? qRound(dpi.captured(1).toInt() / 96.0) : 1;
    QTRY_COMPARE_WITH_TIMEOUT(X11Desktop::geometry(window).width(), 540 * scale, startTimeout);

    X11Desktop::xdotool({"windowsize", QString::number(window), "2000", "2000"});
    QTRY_COMPARE(X11Desktop::geometry(window).size(), QSize(540, 600) * scale);
    X11Desktop::xdotool({"windowsize", QString::number(window), "100", "100"});
    QTRY_COMPARE(X11Desktop::geometry(window).size(), QSize(540, 582) * scale);

    X11Desktop::closeGracefully(window);
    QVERIFY(TestEnvironment::waitFor([&] { return !DesktopProgram::settingsWindowVisible(); }));
    QTest::qWait(1000);
    QCOMPARE(running.state(), QProcess::Running);
    QVERIFY(X11Desktop::trayIcon(QStringLiteral("Zintello")) != 0);
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

QTEST_GUILESS_MAIN(tst_DesktopProgram)
#include "tst_desktopprogram.moc"
