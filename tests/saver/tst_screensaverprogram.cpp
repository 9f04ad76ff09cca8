#include "DesktopProgramSettings.h"
#include "OfflineNetwork.h"
#include "ProgramIdentity.h"
#include "SaveNetworkCookieJar.h"
#include "SaverProgramRun.h"
#include "TestIdentity.h"

#include <QGuiApplication>
#include <QNetworkCookie>
#include <QScreen>
#include <QSettings>
#include <QtTest>

// The real ZINTELLO.scr in the test session: how each command line behaves,
// the show as a user sees it, the settings dialog, and the cookies between them.
class tst_ScreenSaverProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void previewShowsNothing_data();
    void previewShowsNothing();
    void rejectedCommandLine_data();
    void rejectedCommandLine();
    void helpIsPrintedNotRejected();
    void speaksTheLanguageChosenInItsPages();
    void dialogOpens_data();
    void dialogOpens();
    void showFillsTheScreenAndHidesThePointer();
    void smallMovesKeepTheShowRunning();
    void inputThatEndsTheShow_data();
    void inputThatEndsTheShow();
    void inputThatDoesNotEndTheShow();
    void keyPressEndsTheShowWhateverHadTheFocus();
    void dialogCookiesReachTheShow_data();
    void dialogCookiesReachTheShow();
    void choiceInTheDialogSurvivesARunningShow();

private:
    static QStringList split(const QString &arguments)
    {
        return arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    // Starts the show with the input echo page and waits until it covers the screen.
    static bool startShow(SaverProgramRun &run);
    static bool waitForColour(const QPoint &position, const QColor &colour, int timeoutMs = 20000);
    // Moves the pointer and waits until the page has seen the move.
    static bool moveAndWaitForPage(int dx, int dy);

    const QPoint probe{20, 20};
};

void tst_ScreenSaverProgram::initTestCase()
{
    TestIdentity::screensaver();
    OfflineNetwork::install();
    QVERIFY(QFile::exists(SaverProgramRun().program()));
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1280, 800));
}

void tst_ScreenSaverProgram::init()
{
    // The pointer in the middle of the screen, where a new full-screen window will be.
    X11Desktop::xdotool({"mousemove", "640", "400"});
}

bool tst_ScreenSaverProgram::waitForColour(const QPoint &position, const QColor &colour, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (X11Desktop::pixel(position) == colour)
            return true;
        QTest::qWait(50);
    }
    qWarning() << "colour at" << position << "is" << X11Desktop::pixel(position) << "not" << colour;
    return false;
}

bool tst_ScreenSaverProgram::startShow(SaverProgramRun &run)
{
    run.start({"/s"});
    const X11Desktop::WindowId window = run.waitForWindow();
    if (!window)
        return false;
    // The page as first painted, before any input.
    const QColor first = SaverProgramRun::inputEchoColour(QPoint(1, 2), 200);
    return waitForColour(QPoint(20, 20), first) && waitForColour(QPoint(1275, 795), first);
}

bool tst_ScreenSaverProgram::moveAndWaitForPage(int dx, int dy)
{
    X11Desktop::xdotool({"mousemove_relative", "--", QString::number(dx), QString::number(dy)});
    return waitForColour(QPoint(20, 20), SaverProgramRun::inputEchoColour(X11Desktop::pointer(), 200));
}

void tst_ScreenSaverProgram::previewShowsNothing_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::newRow("/p 1234") << "/p 1234";
    QTest::newRow("/p:1234") << "/p:1234";
    QTest::newRow("/P 0") << "/P 0";
    QTest::newRow("/p: 5") << "/p: 5";
    QTest::newRow("/p 7 /s") << "/p 7 /s";
}

void tst_ScreenSaverProgram::previewShowsNothing()
{
    QFETCH(QString, arguments);
    SaverProgramRun run;
    run.start(split(arguments));
    // Ends by itself, without any input: nothing was shown that waits for the user.
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 0);
}

void tst_ScreenSaverProgram::rejectedCommandLine_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::newRow("/p abc") << "/p abc";
    QTest::newRow("/p alone") << "/p";
    QTest::newRow("x /s") << "x /s";
    QTest::newRow("/s /p abc") << "/s /p abc";
    QTest::newRow("/a 1234") << "/a 1234";
}

void tst_ScreenSaverProgram::rejectedCommandLine()
{
    QFETCH(QString, arguments);
    SaverProgramRun run;
    run.start(split(arguments));
    const X11Desktop::WindowId box = run.waitForWindow(QStringLiteral("ScreenSaver error"));
    QVERIFY(box);
    // Nothing but the box: the program waits for it to be closed. Its text is
    // checked in tst_screensavermodes, in the test's own process.
    QCOMPARE(run.visibleWindows().size(), 1);
    QVERIFY(run.isRunning());
    X11Desktop::xdotool({"windowactivate", "--sync", QString::number(box)});
    X11Desktop::xdotool({"key", "Return"});
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 255);
}

void tst_ScreenSaverProgram::helpIsPrintedNotRejected()
{
    SaverProgramRun run;
    run.start({QStringLiteral("--help")});
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 0);
    const QByteArray usage = run.process().readAllStandardOutput();
    QVERIFY2(usage.startsWith("Usage: ZINTELLO.scr"), usage.constData());
}

void tst_ScreenSaverProgram::speaksTheLanguageChosenInItsPages()
{
    // Its own store: what its settings dialog's page chose.
    QSettings().setValue(SaveNetworkCookieJar::cookiesKey, QByteArray("language=de; path=/\n"));
    {
        SaverProgramRun run;
        run.start({QStringLiteral("/p"), QStringLiteral("abc")});
        const X11Desktop::WindowId box = run.waitForWindow(QStringLiteral("Fehler des Bildschirmschoners"));
        QVERIFY(box);
        X11Desktop::xdotool({"windowactivate", "--sync", QString::number(box)});
        X11Desktop::xdotool({"key", "Return"});
        QVERIFY(run.waitForExit());
    }
    {
        SaverProgramRun run;
        run.start({QStringLiteral("/c")});
        const X11Desktop::WindowId dialog = run.waitForWindow(QString::fromUtf8("ZINTELLO Bildschirmschoner – Einstellungen"));
        QVERIFY(dialog);
        X11Desktop::xdotool({"windowactivate", "--sync", QString::number(dialog)});
        X11Desktop::xdotool({"key", "Escape"});
        QVERIFY(run.waitForExit());
    }
    QSettings().remove(SaveNetworkCookieJar::cookiesKey);
}

void tst_ScreenSaverProgram::dialogOpens_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::newRow("no arguments") << "";
    QTest::newRow("/c") << "/c";
    QTest::newRow("/C") << "/C";
    QTest::newRow("/c:1234") << "/c:1234";
}

void tst_ScreenSaverProgram::dialogOpens()
{
    QFETCH(QString, arguments);
    SaverProgramRun run;
    run.start(split(arguments));
    const X11Desktop::WindowId dialog = run.waitForWindow(QStringLiteral("ZINTELLO Screensaver Settings"));
    QVERIFY(dialog);
    // The page window exists in every mode but is shown only in the show mode.
    QCOMPARE(run.visibleWindows().size(), 1);
    QTRY_COMPARE(X11Desktop::geometry(dialog).size(), QSize(530, 634));

    const QString properties = X11Desktop::properties(dialog);
    QVERIFY2(properties.contains("minimum size: 530 by 634"), qPrintable(properties));
    QVERIFY2(properties.contains("maximum size: 530 by 634"), qPrintable(properties));
    X11Desktop::xdotool({"windowsize", QString::number(dialog), "800", "700"});
    QTest::qWait(1000);
    QCOMPARE(X11Desktop::geometry(dialog).size(), QSize(530, 634));

    X11Desktop::xdotool({"windowactivate", "--sync", QString::number(dialog)});
    X11Desktop::xdotool({"key", "Escape"});
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 0);
}

void tst_ScreenSaverProgram::showFillsTheScreenAndHidesThePointer()
{
    QVERIFY(!X11Desktop::pointerIsBlank());

    SaverProgramRun run({{"index.html", SaverProgramRun::inputEchoPage()}});
    QVERIFY(startShow(run));
    const QList<X11Desktop::WindowId> windows = run.visibleWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(X11Desktop::geometry(windows.first()), QRect(0, 0, 1280, 800));
    QVERIFY(X11Desktop::properties(windows.first()).contains("_NET_WM_STATE_FULLSCREEN"));
    QTRY_VERIFY_WITH_TIMEOUT(X11Desktop::pointerIsBlank(), 20000);

    // The debug output names the one screen and no cover.
    X11Desktop::xdotool({"key", "a"});
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitCode(), 0);
    const QString debug = QString::fromLocal8Bit(run.process().readAllStandardError());
    QVERIFY2(debug.split(QLatin1Char('\n')).contains(QStringLiteral("1")), qPrintable(debug));
    QVERIFY2(!debug.contains(QStringLiteral("QRect")), qPrintable(debug));
}

void tst_ScreenSaverProgram::smallMovesKeepTheShowRunning()
{
    SaverProgramRun run({{"index.html", SaverProgramRun::inputEchoPage()}});
    QVERIFY(startShow(run));

    // Each step is at most 3 pixels (|dx| + |dy|) from the one before; together
    // they go a long way from where the pointer started.
    const QList<QPoint> steps{{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {3, 0}, {0, -3},
                              {-2, 1}, {1, 2}, {2, 1}, {1, 1}, {0, 3}, {3, 0}};
    const QPoint start = X11Desktop::pointer();
    for (const QPoint &step : steps) {
        QVERIFY(moveAndWaitForPage(step.x(), step.y()));
        QVERIFY(run.isRunning());
    }
    QVERIFY((X11Desktop::pointer() - start).manhattanLength() > 20);
    QVERIFY(run.isRunning());

    X11Desktop::xdotool({"mousemove_relative", "--", "2", "2"});
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 0);
}

void tst_ScreenSaverProgram::inputThatEndsTheShow_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::newRow("2 across and 2 down") << QStringList{"mousemove_relative", "--", "2", "2"};
    QTest::newRow("4 along one axis") << QStringList{"mousemove_relative", "--", "0", "-4"};
    QTest::newRow("key press") << QStringList{"key", "a"};
    QTest::newRow("shift alone") << QStringList{"key", "shift"};
    QTest::newRow("left button") << QStringList{"click", "1"};
    // Both open a context menu in a web view unless the show prevents it.
    QTest::newRow("right button") << QStringList{"click", "3"};
    QTest::newRow("menu key") << QStringList{"key", "Menu"};
}

void tst_ScreenSaverProgram::inputThatEndsTheShow()
{
    QFETCH(QStringList, input);
    SaverProgramRun run({{"index.html", SaverProgramRun::inputEchoPage()}});
    QVERIFY(startShow(run));
    // The first move that the show sees is only recorded.
    QVERIFY(moveAndWaitForPage(1, 0));
    QVERIFY(run.isRunning());

    X11Desktop::xdotool(input);
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 0);
}

void tst_ScreenSaverProgram::inputThatDoesNotEndTheShow()
{
    SaverProgramRun run({{"index.html", SaverProgramRun::inputEchoPage()}});
    QVERIFY(startShow(run));
    const QPoint at = X11Desktop::pointer();

    // Each turn reaches the page, which shows it, while the show goes on. (X
    // delivers no key or button release without its press; the filter's own
    // test covers those.)
    const struct { QStringList input; int blue; } inputs[] = {
        {{"click", "4"}, 71},
        {{"click", "5"}, 72},
        {{"click", "4"}, 71},
        {{"click", "--repeat", "3", "5"}, 72},
    };
    for (const auto &step : inputs) {
        X11Desktop::xdotool(step.input);
        QVERIFY2(waitForColour(probe, QColor(1, 2, step.blue)), qPrintable(step.input.join(' ')));
        QVERIFY(run.isRunning());
    }
    QCOMPARE(X11Desktop::pointer(), at);
    QTest::qWait(1000);
    QVERIFY(run.isRunning());
    QCOMPARE(run.visibleWindows().size(), 1);
}

void tst_ScreenSaverProgram::keyPressEndsTheShowWhateverHadTheFocus()
{
    // Where no window manager hands the focus to the new window, the show takes
    // it itself; without it the key would reach no window.
    X11Desktop::dropKeyboardFocus();
    SaverProgramRun run({{"index.html", SaverProgramRun::inputEchoPage()}});
    QVERIFY(startShow(run));
    X11Desktop::xdotool({"key", "a"});
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitCode(), 0);
}

void tst_ScreenSaverProgram::dialogCookiesReachTheShow_data()
{
    QTest::addColumn<QString>("closingKey");
    QTest::newRow("OK by Return") << "Return";
    QTest::newRow("Cancel by Escape") << "Escape";
    QTest::newRow("closed by the window manager") << "alt+F4";
}

void tst_ScreenSaverProgram::dialogCookiesReachTheShow()
{
    QFETCH(QString, closingKey);

    QSettings saverStore;
    saverStore.clear();
    saverStore.sync();
    QSettings desktopStore(ProgramIdentity::organisationName(), DesktopProgramSettings::applicationName);
    desktopStore.setValue(SaveNetworkCookieJar::cookiesKey, QByteArray("desktoponly=1; path=/\n"));
    desktopStore.sync();

    const QColor green(0, 255, 0);
    // The settings page chooses design 4 as soon as it is shown and turns green;
    // the start page is green when it sees that choice and nothing of the
    // desktop program's, red otherwise.
    const QByteArray settingsPage = R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body><script>
document.cookie = 'design=4; path=/; max-age=999999';
document.documentElement.style.background = 'rgb(0,255,0)';
</script></body></html>)";
    const QByteArray startPage = R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body><script>
var c = document.cookie;
var ok = /(^|; )design=4(;|$)/.test(c) && c.indexOf('desktoponly') < 0;
document.documentElement.style.background = ok ? 'rgb(0,255,0)' : 'rgb(255,0,0)';
</script></body></html>)";

    {
        SaverProgramRun dialogRun({{"settings.html", settingsPage}, {"index.html", startPage}});
        dialogRun.start({"/c"});
        const X11Desktop::WindowId dialog = dialogRun.waitForWindow(QStringLiteral("ZINTELLO Screensaver Settings"));
        QVERIFY(dialog);
        QTRY_COMPARE(X11Desktop::geometry(dialog).size(), QSize(530, 634));
        QVERIFY(waitForColour(X11Desktop::geometry(dialog).topLeft() + QPoint(100, 100), green));
        X11Desktop::xdotool({"windowactivate", "--sync", QString::number(dialog)});
        X11Desktop::xdotool({"key", closingKey});
        QVERIFY(dialogRun.waitForExit());
        QCOMPARE(dialogRun.process().exitCode(), 0);
    }

    saverStore.sync();
    const QList<QNetworkCookie> stored = QNetworkCookie::parseCookies(saverStore.value(SaveNetworkCookieJar::cookiesKey).toByteArray());
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first().name(), QByteArray("design"));
    QCOMPARE(stored.first().value(), QByteArray("4"));

    SaverProgramRun showRun({{"settings.html", settingsPage}, {"index.html", startPage}});
    showRun.start({"/s"});
    QVERIFY(showRun.waitForWindow());
    QVERIFY(waitForColour(QPoint(640, 300), green));
    X11Desktop::xdotool({"key", "a"});
    QVERIFY(showRun.waitForExit());
    QCOMPARE(showRun.process().exitCode(), 0);
}

void tst_ScreenSaverProgram::choiceInTheDialogSurvivesARunningShow()
{
    QSettings saverStore;
    saverStore.clear();
    saverStore.setValue(SaveNetworkCookieJar::cookiesKey, QByteArray("design=2; path=/\n"));
    saverStore.sync();
    const auto storedCookies = [] { return QSettings().value(SaveNetworkCookieJar::cookiesKey).toByteArray(); };

    SaverProgramRun show;
    show.start({"/s"});
    QVERIFY(show.waitForWindow());

    const QByteArray settingsPage = R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body><script>
document.cookie = 'design=4; path=/; max-age=999999';
</script></body></html>)";
    SaverProgramRun dialogRun({{"settings.html", settingsPage}});
    dialogRun.start({"/c"});
    const X11Desktop::WindowId dialog = dialogRun.waitForWindow(QStringLiteral("ZINTELLO Screensaver Settings"));
    QVERIFY(dialog);
    QTRY_VERIFY_WITH_TIMEOUT(storedCookies().contains("design=4"), 20000);
    X11Desktop::xdotool({"windowactivate", "--sync", QString::number(dialog)});
    QTest::qWait(300);
    X11Desktop::xdotool({"key", "Return"});
    QVERIFY(dialogRun.waitForExit());

    // The show ends on a key press; what it writes back must not undo the choice.
    X11Desktop::xdotool({"windowactivate", "--sync", QString::number(show.visibleWindows().value(0))});
    QTest::qWait(300);
    X11Desktop::xdotool({"key", "a"});
    QVERIFY(show.waitForExit());
    QVERIFY2(storedCookies().contains("design=4") && !storedCookies().contains("design=2"), storedCookies().constData());
}

QTEST_MAIN(tst_ScreenSaverProgram)
#include "tst_screensaverprogram.moc"
