#include "DesktopIntegration.h"
#include "DesktopProgram.h"
#include "DesktopProgramSettings.h"
#include "SaveNetworkCookieJar.h"
#include "TestEnvironment.h"
#include "X11Desktop.h"

#include <QtTest>

// The desktop background and the cookies of the real program, in a real X session.
class tst_DesktopBackground : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void coversTheScreenBelowEveryWindow();
    void rightClickOnTheDesktopOpensTheWindowManagersMenu();
    void showsTheWallpaperWhereThePagePaintsNothing_data();
    void showsTheWallpaperWhereThePagePaintsNothing();
    void cookiesAreStoredWhenTheSettingsWindowCloses();
    void cookiesAreStoredWhenTheProgramQuits_data();
    void cookiesAreStoredWhenTheProgramQuits();
    void closingTheBackgroundLeavesTheProgramRunning();

private:
    // A program whose settings page chooses design 5 as soon as it loads and sets
    // the cookie "clicked" when it is clicked.
    static DesktopProgram programThatChoosesADesign();
    static bool designChosen();
    static X11Desktop::WindowId waitForBackground();
    static bool storedCookiesHoldTheDesign();
    static bool openSettingsWindow(const DesktopProgram &program);
};

namespace {
const QRect screen(0, 0, 1280, 800);
}

void tst_DesktopBackground::init()
{
    DesktopProgram::clearSettings();
}

DesktopProgram tst_DesktopBackground::programThatChoosesADesign()
{
    DesktopProgram program = DesktopProgram::inTemporaryDirectory();
    program.writePage("settings.html",
                      "<html><body><script>"
                      "document.cookie = 'design=5; path=/; max-age=999999';"
                      "document.onmousedown = function () {"
                      "  document.cookie = 'clicked=1; path=/; max-age=999999'; };"
                      "</script></body></html>");
    return program;
}

bool tst_DesktopBackground::designChosen()
{
    return DesktopProgram::setting(DesktopProgramSettings::designNumberKey).toString() == QLatin1String("5");
}

bool tst_DesktopBackground::storedCookiesHoldTheDesign()
{
    return DesktopProgram::setting(SaveNetworkCookieJar::cookiesKey).toByteArray().contains("design=5;");
}

// The settings page loads when its window is first shown: a second start shows it.
bool tst_DesktopBackground::openSettingsWindow(const DesktopProgram &program)
{
    return DesktopProgram::waitForTrayIcon() && program.runToEnd({}) == 0;
}

X11Desktop::WindowId tst_DesktopBackground::waitForBackground()
{
    X11Desktop::WindowId background = 0;
    TestEnvironment::waitFor([&] {
        const auto windows = X11Desktop::visibleWindowsOfProgram("zintello");
        for (X11Desktop::WindowId window : windows) {
            if (X11Desktop::geometry(window) == screen)
                background = window;
        }
        return background != 0;
    });
    return background;
}

void tst_DesktopBackground::coversTheScreenBelowEveryWindow()
{
    DesktopProgram program;
    program.start();
    const X11Desktop::WindowId background = waitForBackground();
    QVERIFY(background);

    QProcess normalWindow;
    normalWindow.start("xclock", {"-geometry", "200x200+100+100"});
    const X11Desktop::WindowId clock = X11Desktop::waitForVisibleWindow("^xclock$");
    QVERIFY(clock);

    X11Desktop::activate(background);
    X11Desktop::click(QPoint(700, 400), 1);
    QTest::qWait(1000);
    const QList<X11Desktop::WindowId> stacking = X11Desktop::stackingOrder();
    QVERIFY(stacking.contains(background));
    QVERIFY(stacking.indexOf(background) < stacking.indexOf(clock));

    // A click on the page goes to the desktop beneath, not to the background
    // nor to the frame that the window manager put around it.
    QCOMPARE(X11Desktop::windowReceivingClickAt(QPoint(700, 400)), X11Desktop::rootWindow());
    QVERIFY(X11Desktop::isSameOrInside(X11Desktop::windowReceivingClickAt(QPoint(200, 200)), clock));

    normalWindow.kill();
    normalWindow.waitForFinished();
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

// openbox shows its root menu for a right click on the desktop; the page lies
// over the whole desktop and must leave that to the window manager.
void tst_DesktopBackground::rightClickOnTheDesktopOpensTheWindowManagersMenu()
{
    DesktopProgram program;
    program.start();
    QVERIFY(waitForBackground());
    const QPoint onTheDesktop(600, 400);
    // openbox opens its menus with the top left corner at the pointer.
    auto menuAtThePointer = [&] {
        const QList<QRect> windows = X11Desktop::topLevelWindows();
        return std::any_of(windows.cbegin(), windows.cend(), [&](const QRect &window) {
            return window.topLeft() == onTheDesktop && window.width() < screen.width() / 2;
        });
    };
    QVERIFY(!menuAtThePointer());
    const QColor pageThere = X11Desktop::pixel(onTheDesktop + QPoint(20, 8));

    X11Desktop::click(onTheDesktop, 3);
    QVERIFY(TestEnvironment::waitFor(menuAtThePointer, 10000));
    QVERIFY(X11Desktop::pixel(onTheDesktop + QPoint(20, 8)) != pageThere);

    X11Desktop::key("Escape");
    QVERIFY(TestEnvironment::waitFor([&] { return !menuAtThePointer(); }, 10000));
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

void tst_DesktopBackground::showsTheWallpaperWhereThePagePaintsNothing_data()
{
    QTest::addColumn<bool>("compositor");
    QTest::newRow("no compositing manager: painted behind the page") << false;
    QTest::newRow("xcompmgr: the root window shows through") << true;
}

void tst_DesktopBackground::showsTheWallpaperWhereThePagePaintsNothing()
{
    QFETCH(bool, compositor);
    QProcess compositingManager;
    if (compositor) {
        compositingManager.start("xcompmgr", QStringList());
        QVERIFY(TestEnvironment::waitFor(DesktopIntegration::showsTranslucentWindows));
    }
    DesktopProgram program;
    program.start();
    QVERIFY(waitForBackground());
    // The first start applies design 9; the start page draws its layer on the
    // right half only.
    const QImage wallpaper = DesktopIntegration::wallpaperPicture(
                program.programDir() + "/Wallpapers/A_design_9.bmp", screen.size());
    const QPoint probe(80, 80);
    const QColor expected = wallpaper.pixelColor(probe);
    QVERIFY(expected != QColor(Qt::black));
    auto near = [&] {
        const QColor seen = X11Desktop::pixel(probe);
        return qAbs(seen.red() - expected.red()) + qAbs(seen.green() - expected.green())
                + qAbs(seen.blue() - expected.blue()) <= 12;
    };
    QVERIFY2(TestEnvironment::waitFor(near), qPrintable(X11Desktop::pixel(probe).name()
                                                        + " instead of " + expected.name()));
    QCOMPARE(program.runToEnd({"/q"}), 0);
    compositingManager.kill();
    compositingManager.waitForFinished();
}

void tst_DesktopBackground::cookiesAreStoredWhenTheSettingsWindowCloses()
{
    DesktopProgram program = programThatChoosesADesign();
    QProcess &running = program.start();
    QVERIFY(openSettingsWindow(program));
    QVERIFY(TestEnvironment::waitFor(designChosen));
    QVERIFY(!storedCookiesHoldTheDesign());

    const X11Desktop::WindowId window = DesktopProgram::waitForSettingsWindow();
    QVERIFY(window);
    X11Desktop::closeGracefully(window);
    QVERIFY(TestEnvironment::waitFor(storedCookiesHoldTheDesign));
    QCOMPARE(running.state(), QProcess::Running);
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

void tst_DesktopBackground::cookiesAreStoredWhenTheProgramQuits_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("&Quit in the tray menu") << "tray";
    QTest::newRow("a second start with /q") << "/q";
    QTest::newRow("the session ends") << "SIGTERM";
}

void tst_DesktopBackground::cookiesAreStoredWhenTheProgramQuits()
{
    QFETCH(QString, way);
    DesktopProgram program = programThatChoosesADesign();
    QProcess &running = program.start();
    QVERIFY(openSettingsWindow(program));
    QVERIFY(TestEnvironment::waitFor(designChosen));

    if (way == "tray") {
        const X11Desktop::WindowId icon = DesktopProgram::waitForTrayIcon();
        QVERIFY(icon);
        X11Desktop::click(X11Desktop::geometry(icon).center(), 3);
        QTest::qWait(1000);
        X11Desktop::key("q");
    } else if (way == "/q") {
        QCOMPARE(program.runToEnd({"/q"}), 0);
    } else {
        running.terminate();
    }
    QVERIFY(running.waitForFinished(30000));
    QCOMPARE(running.exitCode(), 0);
    QVERIFY(storedCookiesHoldTheDesign());
    QVERIFY(DesktopProgram::setting(SaveNetworkCookieJar::cookiesKey).toByteArray().contains("background_reset=1;"));
}

void tst_DesktopBackground::closingTheBackgroundLeavesTheProgramRunning()
{
    DesktopProgram program = programThatChoosesADesign();
    QProcess &running = program.start();
    const X11Desktop::WindowId background = waitForBackground();
    QVERIFY(background);

    X11Desktop::sendDeleteRequest(background);
    QVERIFY(TestEnvironment::waitFor([&] {
        return !X11Desktop::visibleWindowsOfProgram("zintello").contains(background);
    }));
    QTest::qWait(1000);
    QCOMPARE(running.state(), QProcess::Running);

    // The settings page still sets cookies, and closing the window stores them.
    QCOMPARE(program.runToEnd({}), 0);
    const X11Desktop::WindowId window = DesktopProgram::waitForSettingsWindow();
    QVERIFY(window);
    QVERIFY(TestEnvironment::waitFor(designChosen));
    QTest::qWait(500);
    X11Desktop::click(X11Desktop::geometry(window).center(), 1);
    QTest::qWait(500);
    X11Desktop::closeGracefully(window);
    QVERIFY(TestEnvironment::waitFor([] {
        return DesktopProgram::setting(SaveNetworkCookieJar::cookiesKey).toByteArray().contains("clicked=1;");
    }));
    QVERIFY(storedCookiesHoldTheDesign());
    QCOMPARE(running.state(), QProcess::Running);

    QCOMPARE(program.runToEnd({"/q"}), 0);
    QVERIFY(running.waitForFinished(30000));
    QCOMPARE(running.exitStatus(), QProcess::NormalExit);
    QCOMPARE(running.exitCode(), 0);
}

QTEST_MAIN(tst_DesktopBackground)
#include "tst_desktopbackground.moc"
