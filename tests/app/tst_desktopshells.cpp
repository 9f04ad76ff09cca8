#include "DesktopIntegration.h"
#include "DesktopProgram.h"
#include "TestEnvironment.h"
#include "X11Desktop.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const QRect screen(0, 0, 1280, 800);

// The window manager and desktop programs of one desktop, started in the test's
// session and stopped with the object.
class DesktopShell
{
public:
    explicit DesktopShell(const QList<QStringList> &commands)
    {
        for (const QStringList &command : commands) {
            auto *process = new QProcess;
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->setStandardOutputFile(QProcess::nullDevice());
            process->start(command.first(), command.mid(1));
            processes.append(process);
        }
    }

    ~DesktopShell()
    {
        for (QProcess *process : qAsConst(processes)) {
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished();
            }
            delete process;
        }
    }

private:
    QList<QProcess *> processes;
};

bool windowManagerRunning()
{
    return TestEnvironment::run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
}

X11Desktop::WindowId screenSizedWindowOf(const QString &program)
{
    const auto windows = X11Desktop::visibleWindowsOfProgram(program);
    for (X11Desktop::WindowId window : windows) {
        if (X11Desktop::geometry(window) == screen)
            return window;
    }
    return 0;
}

QImage screenshot()
{
    QTemporaryDir dir;
    const QString shot = dir.filePath("shot.png");
    TestEnvironment::run("import", {"-window", "root", shot}, 30000);
    return QImage(shot).convertToFormat(QImage::Format_RGB32);
}

int distance(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

} // namespace

// The desktop background under a bare window manager and on desktops whose
// window manager or desktop program draws a background of its own: the page
// must be visible with the design behind it, stay below the applications and
// leave the desktop's own menu working.
class tst_DesktopShells : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pageIsVisibleBelowTheApplications_data();
    void pageIsVisibleBelowTheApplications();
};

void tst_DesktopShells::initTestCase()
{
    QVERIFY2(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"), "run under dbus-run-session");
    QVERIFY(!windowManagerRunning());
}

void tst_DesktopShells::cleanup()
{
    qunsetenv("XDG_CURRENT_DESKTOP");
    DesktopProgram::clearSettings();
    // A window manager that ended leaves its announcement on the root window.
    TestEnvironment::run("xprop", {"-root", "-remove", "_NET_SUPPORTING_WM_CHECK"});
}

void tst_DesktopShells::pageIsVisibleBelowTheApplications_data()
{
    QTest::addColumn<QString>("currentDesktop");
    QTest::addColumn<QList<QStringList>>("commands");
    QTest::addColumn<QString>("desktopProgram");   // the instance name of a desktop window
    QTest::addColumn<bool>("desktopMenu");

    QTest::newRow("openbox, bare X11")
        << "" << QList<QStringList>{{"openbox", "--sm-disable"}} << "" << true;
    QTest::newRow("XFCE: xfwm4 compositing, xfdesktop")
        << "XFCE" << QList<QStringList>{{"xfwm4", "--compositor=on"}, {"xfdesktop"}} << "xfdesktop" << true;
    QTest::newRow("XFCE: xfwm4 without compositing, xfdesktop")
        << "XFCE" << QList<QStringList>{{"xfwm4", "--compositor=off"}, {"xfdesktop"}} << "xfdesktop" << true;
    // caja's desktop window takes the name of its instance.
    QTest::newRow("MATE: caja's desktop under openbox")
        << "MATE" << QList<QStringList>{{"openbox", "--sm-disable"}, {"caja", "--force-desktop", "-n"}}
        << "desktop_window" << true;
    QTest::newRow("mutter without GNOME Shell")
        << "" << QList<QStringList>{{"mutter", "--x11", "--replace", "--sm-disable"}} << "" << false;
}

void tst_DesktopShells::pageIsVisibleBelowTheApplications()
{
    QFETCH(QString, currentDesktop);
    QFETCH(QList<QStringList>, commands);
    QFETCH(QString, desktopProgram);
    QFETCH(bool, desktopMenu);

    if (!currentDesktop.isEmpty())
        qputenv("XDG_CURRENT_DESKTOP", currentDesktop.toUtf8());
    DesktopShell shell(commands);
    QVERIFY(TestEnvironment::waitFor(windowManagerRunning));
    X11Desktop::WindowId desktopWindow = 0;
    if (!desktopProgram.isEmpty())
        QVERIFY(TestEnvironment::waitFor([&] { return (desktopWindow = screenSizedWindowOf(desktopProgram)) != 0; }));

    DesktopProgram program;
    program.start();
    X11Desktop::WindowId background = 0;
    QVERIFY(TestEnvironment::waitFor([&] { return (background = screenSizedWindowOf("zintello")) != 0; }));
    QProcess normalWindow;
    normalWindow.start("xclock", {"-geometry", "200x200+100+100"});
    const X11Desktop::WindowId clock = X11Desktop::waitForVisibleWindow("^xclock$");
    QVERIFY(clock);

    // Above the desktop's own window, below the application.
    QVERIFY(TestEnvironment::waitFor([&] {
        const QList<X11Desktop::WindowId> stacking = X11Desktop::stackingOrder();
        return stacking.contains(background) && stacking.indexOf(background) < stacking.indexOf(clock)
               && (!desktopWindow || stacking.indexOf(desktopWindow) < stacking.indexOf(background));
    }));

    // The first design behind the page where the page is transparent, the page's
    // own layer on the right half, the application's window in front.
    const QImage design = DesktopIntegration::wallpaperPicture(
        program.programDir() + "/Wallpapers/A_design_9.bmp", screen.size());
    const QPoint probe(420, 160);
    QVERIFY(TestEnvironment::waitFor([&] { return distance(X11Desktop::pixel(probe), design.pixelColor(probe)) <= 24; }));
    auto pageDrawn = [&](const QImage &shot) {
        int drawn = 0;
        for (int y = 250; y < 550; y += 4) {
            for (int x = 860; x < 1260; x += 4)
                drawn += distance(shot.pixelColor(x, y), design.pixelColor(x, y)) > 60;
        }
        return drawn > 100;
    };
    auto clockDrawn = [&](const QImage &shot) {
        return distance(shot.pixelColor(200, 220), design.pixelColor(200, 220)) > 60;
    };
    // The root window's picture shows before a compositing window manager's
    // first frame: the windows are looked for once the screen shows them.
    QImage shot;
    TestEnvironment::waitFor([&] {
        shot = screenshot();
        return pageDrawn(shot) && clockDrawn(shot);
    });
    const QString saved = QDir(QCoreApplication::applicationDirPath())
                              .filePath(QString("desktopshell-%1.png").arg(QTest::currentDataTag())
                                            .replace(QRegularExpression("[^A-Za-z0-9.-]+"), "_"));
    shot.save(saved);
    QVERIFY2(pageDrawn(shot), qPrintable(QString("the page's clock is not to be seen: %1").arg(saved)));
    QVERIFY(clockDrawn(shot));

    if (desktopMenu) {
        const QPoint onTheDesktop(600, 420);
        const QList<QRect> before = X11Desktop::topLevelWindows();
        X11Desktop::click(onTheDesktop, 3);
        QVERIFY2(TestEnvironment::waitFor([&] {
            const QList<QRect> windows = X11Desktop::topLevelWindows();
            return std::any_of(windows.cbegin(), windows.cend(), [&](const QRect &window) {
                return !before.contains(window) && window.contains(onTheDesktop + QPoint(4, 4))
                       && window.width() < screen.width() / 2;
            });
        }, 10000), "the desktop's menu did not open");
        X11Desktop::key("Escape");
        // A click on the desktop may raise the desktop's own window: the page stays above it.
        QVERIFY(TestEnvironment::waitFor([&] {
            const QList<X11Desktop::WindowId> stacking = X11Desktop::stackingOrder();
            return !desktopWindow || stacking.indexOf(desktopWindow) < stacking.indexOf(background);
        }, 10000));
        QVERIFY(TestEnvironment::waitFor([&] { return pageDrawn(screenshot()); }));
    }

    normalWindow.kill();
    normalWindow.waitForFinished();
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

QTEST_MAIN(tst_DesktopShells)
#include "tst_desktopshells.moc"
