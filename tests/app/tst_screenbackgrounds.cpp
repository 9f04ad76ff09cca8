#include "DesktopIntegration.h"
#include "DesktopProgram.h"
#include "TestEnvironment.h"
#include "X11Desktop.h"
#include "linux/RootWindowWallpaper.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

// The real program on two screens side by side (Xorg's dummy driver with RandR):
// the page on each, and screens that go, come back in another size and swap
// which one is primary while it runs; each screen's wallpaper the design's
// bitmap of that screen's shape, on the bare root window and on XFCE's monitors.
class tst_ScreenBackgrounds : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void everyScreenHasItsPageAndFollowsTheScreens();
    void eachScreenShowsTheBitmapOfItsShape();
    void eachXfceMonitorHasTheBitmapOfItsShape();

private:
    static QList<QRect> backgrounds();
    static bool backgroundsAre(const QList<QRect> &expected);
    static bool showsTheWallpaper(const QRect &screen, const QString &wallpaper);
    // The picture on the root window itself, below every window.
    static bool rootWindowShows(const QRect &screen, const QString &wallpaper);
    static bool samePixels(const QImage &picture, const QPoint &origin, const std::function<QColor(QPoint)> &seen);
    static QString xfceMonitorPicture(const QString &monitor);
    // The sum of fields of the process's memory summary (smaps_rollup).
    static qint64 memoryKiB(qint64 pid, const QStringList &fields);
    static qint64 pssKiB(qint64 pid);
    // The pages the process alone holds: unlike its PSS, they do not change when
    // other processes that share its libraries come and go on a busy machine.
    static qint64 privateKiB(qint64 pid);
    // Waits until the memory stops falling, as freed pages go back.
    static qint64 settledPrivateKiB(qint64 pid);
};

namespace {
const QRect first(0, 0, 1280, 800);
const QRect second(1280, 0, 1024, 768);
const QRect secondSmaller(1280, 0, 800, 600);
const QRect secondWide(1280, 0, 1024, 576);
// How soon a screen's change shows: well within a second on a quiet machine
// (the test prints the times); a busy one gets ample slack.
const int followTimeoutMs = 10000;

void xrandr(const QStringList &arguments)
{
    TestEnvironment::run(QStringLiteral("xrandr"), arguments);
}
}

void tst_ScreenBackgrounds::init()
{
    DesktopProgram::clearSettings();
    // The session's two screens as they were before another test changed them.
    xrandr({"--output", "DUMMY0", "--mode", "1280x800", "--pos", "0x0", "--primary"});
    xrandr({"--output", "DUMMY1", "--mode", "1024x768", "--right-of", "DUMMY0"});
}

QList<QRect> tst_ScreenBackgrounds::backgrounds()
{
    QList<QRect> found;
    const auto windows = X11Desktop::visibleWindowsOfProgram(QStringLiteral("zintello"));
    for (X11Desktop::WindowId window : windows) {
        const QRect geometry = X11Desktop::geometry(window);
        // Screen-sized: not the tray icon nor a balloon.
        if (geometry.width() >= 640 && geometry.height() >= 480)
            found.append(geometry);
    }
    std::sort(found.begin(), found.end(), [](const QRect &a, const QRect &b) { return a.x() < b.x(); });
    return found;
}

bool tst_ScreenBackgrounds::backgroundsAre(const QList<QRect> &expected)
{
    return backgrounds() == expected;
}

bool tst_ScreenBackgrounds::samePixels(const QImage &picture, const QPoint &origin,
                                       const std::function<QColor(QPoint)> &seen)
{
    // The start page draws its layer on the right half only; the left half shows
    // the wallpaper, painted to cover the screen.
    for (const QPoint probe : {QPoint(80, 80), QPoint(100, picture.height() - 100)}) {
        const QColor expected = picture.pixelColor(probe);
        const QColor shown = seen(origin + probe);
        if (qAbs(shown.red() - expected.red()) + qAbs(shown.green() - expected.green())
                + qAbs(shown.blue() - expected.blue()) > 12)
            return false;
    }
    return true;
}

bool tst_ScreenBackgrounds::showsTheWallpaper(const QRect &screen, const QString &wallpaper)
{
    return samePixels(DesktopIntegration::wallpaperPicture(wallpaper, screen.size()), screen.topLeft(),
                      [](const QPoint &point) { return X11Desktop::pixel(point); });
}

bool tst_ScreenBackgrounds::rootWindowShows(const QRect &screen, const QString &wallpaper)
{
    const QImage root = RootWindowWallpaper::shown(QByteArray());
    return !root.isNull()
           && samePixels(DesktopIntegration::wallpaperPicture(wallpaper, screen.size()), screen.topLeft(),
                         [&](const QPoint &point) { return root.pixelColor(point); });
}

QString tst_ScreenBackgrounds::xfceMonitorPicture(const QString &monitor)
{
    return TestEnvironment::run(QStringLiteral("xfconf-query"),
                                {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor" + monitor + "/workspace0/last-image"})
        .trimmed();
}

qint64 tst_ScreenBackgrounds::memoryKiB(qint64 pid, const QStringList &fields)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return -1;
    const QString summary = QString::fromLatin1(rollup.readAll());
    qint64 sum = 0;
    for (const QString &field : fields) {
        const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(field), QRegularExpression::MultilineOption);
        sum += line.match(summary).captured(1).toLongLong();
    }
    return sum;
}

qint64 tst_ScreenBackgrounds::pssKiB(qint64 pid)
{
    return memoryKiB(pid, {"Pss"});
}

qint64 tst_ScreenBackgrounds::privateKiB(qint64 pid)
{
    return memoryKiB(pid, {"Private_Clean", "Private_Dirty"});
}

qint64 tst_ScreenBackgrounds::settledPrivateKiB(qint64 pid)
{
    qint64 last = privateKiB(pid);
    for (int i = 0; i < 20; ++i) {
        QTest::qWait(1000);
        const qint64 now = privateKiB(pid);
        if (qAbs(now - last) < 256)
            return now;
        last = now;
    }
    return last;
}

void tst_ScreenBackgrounds::everyScreenHasItsPageAndFollowsTheScreens()
{
    DesktopProgram program;
    QProcess &running = program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first, second}); }));
    // The first start applies design 9: the wide primary screen its wide
    // bitmap, the squarer second screen the other one.
    const QString wide = program.programDir() + QStringLiteral("/Wallpapers/A_design_9.bmp");
    const QString other = program.programDir() + QStringLiteral("/Wallpapers/B_design_9.bmp");
    QVERIFY(TestEnvironment::waitFor([&] { return showsTheWallpaper(first, wide) && showsTheWallpaper(second, other); }));

    // The second screen goes: its page with it.
    QElapsedTimer change;
    change.start();
    xrandr({"--output", "DUMMY1", "--off"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first}); }, followTimeoutMs));
    qDebug() << "a screen gone after" << change.elapsed() << "ms";

    // It comes back smaller: a page of its new size, and the first one untouched.
    xrandr({"--addmode", "DUMMY1", "800x600"});
    change.restart();
    xrandr({"--output", "DUMMY1", "--mode", "800x600", "--right-of", "DUMMY0"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first, secondSmaller}); }, followTimeoutMs));
    qDebug() << "a screen added after" << change.elapsed() << "ms";
    QVERIFY(TestEnvironment::waitFor([&] { return showsTheWallpaper(secondSmaller, other); }));

    // Gone again and back again, the memory of its page is given back. Counted
    // once every step has run, so that library pages read in the first time
    // their code runs do not count as kept.
    xrandr({"--output", "DUMMY1", "--off"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first}); }, followTimeoutMs));
    const qint64 oneScreen = settledPrivateKiB(running.processId());
    const qint64 oneScreenPss = pssKiB(running.processId());
    QVERIFY(oneScreen > 0);
    xrandr({"--output", "DUMMY1", "--mode", "800x600", "--right-of", "DUMMY0"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first, secondSmaller}); }, followTimeoutMs));
    const qint64 twoScreens = settledPrivateKiB(running.processId());
    const qint64 twoScreensPss = pssKiB(running.processId());
    xrandr({"--output", "DUMMY1", "--off"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first}); }, followTimeoutMs));
    const qint64 oneScreenAgain = settledPrivateKiB(running.processId());
    const qint64 oneScreenAgainPss = pssKiB(running.processId());
    qDebug() << "private memory (PSS) one screen" << oneScreen << "(" << oneScreenPss << ") KiB, two screens"
             << twoScreens << "(" << twoScreensPss << ") KiB, one screen again" << oneScreenAgain << "("
             << oneScreenAgainPss << ") KiB";
    QVERIFY2(oneScreenAgain - oneScreen < 2048, qPrintable(QString::number(oneScreenAgain - oneScreen)));
    // PSS also moves when other processes map the same libraries; alone in its
    // session the program's share is its own.
    QVERIFY2(oneScreenAgainPss - oneScreenPss < 2048, qPrintable(QString::number(oneScreenAgainPss - oneScreenPss)));

    // The smaller, squarer screen comes back as the primary one: its bitmap is
    // the one that stands for the desktop now; each screen keeps its own.
    xrandr({"--output", "DUMMY1", "--mode", "800x600", "--right-of", "DUMMY0", "--primary"});
    QVERIFY2(TestEnvironment::waitFor([&] { return DesktopIntegration::currentWallpaper() == other; }),
             qPrintable(DesktopIntegration::currentWallpaper()));
    QVERIFY2(TestEnvironment::waitFor([&] { return showsTheWallpaper(first, wide) && showsTheWallpaper(secondSmaller, other); }),
             qPrintable(QStringLiteral("first screen: shows its bitmap %1, on the root window %2; second: %3, %4")
                            .arg(showsTheWallpaper(first, wide)).arg(rootWindowShows(first, wide))
                            .arg(showsTheWallpaper(secondSmaller, other)).arg(rootWindowShows(secondSmaller, other))));
    QVERIFY(backgroundsAre({first, secondSmaller}));

    QCOMPARE(program.runToEnd({"/q"}), 0);
    QVERIFY(running.waitForFinished(30000));
}

void tst_ScreenBackgrounds::eachScreenShowsTheBitmapOfItsShape()
{
    DesktopProgram program;
    program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first, second}); }));
    const QString wide = program.programDir() + QStringLiteral("/Wallpapers/A_design_9.bmp");
    const QString other = program.programDir() + QStringLiteral("/Wallpapers/B_design_9.bmp");
    QVERIFY(TestEnvironment::waitFor([&] { return rootWindowShows(first, wide) && rootWindowShows(second, other); }));
    QVERIFY(showsTheWallpaper(first, wide) && showsTheWallpaper(second, other));
    // What stands for the desktop is the primary screen's bitmap.
    QCOMPARE(DesktopIntegration::currentWallpaper(), wide);

    // The second screen becomes wide: its bitmap follows, the first keeps its own.
    QElapsedTimer change;
    change.start();
    xrandr({"--output", "DUMMY1", "--mode", "1024x576"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first, secondWide}); }, followTimeoutMs));
    QVERIFY(TestEnvironment::waitFor([&] { return rootWindowShows(secondWide, wide); }, followTimeoutMs));
    qDebug() << "a screen's bitmap changed after" << change.elapsed() << "ms";
    QVERIFY(rootWindowShows(first, wide));
    QVERIFY(TestEnvironment::waitFor([&] { return showsTheWallpaper(first, wide) && showsTheWallpaper(secondWide, wide); }));

    // And back.
    xrandr({"--output", "DUMMY1", "--mode", "1024x768"});
    QVERIFY(TestEnvironment::waitFor([&] { return rootWindowShows(second, other) && showsTheWallpaper(second, other); },
                                     followTimeoutMs));
    QVERIFY(rootWindowShows(first, wide));

    QCOMPARE(program.runToEnd({"/q"}), 0);
}

// xfdesktop's settings hold a picture per monitor, named by the monitor's
// output; xfconfd runs on the test's own session bus.
void tst_ScreenBackgrounds::eachXfceMonitorHasTheBitmapOfItsShape()
{
    if (qgetenv("DBUS_SESSION_BUS_ADDRESS").startsWith("disabled:"))
        QSKIP("no session bus in this session: tst_screenbackgrounds_xfce runs this with one");
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    TestEnvironment::run(QStringLiteral("xfconf-query"), {"-c", "xfce4-desktop", "-p", "/backdrop", "-r", "-R"});

    DesktopProgram program;
    program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    const QString wide = program.programDir() + QStringLiteral("/Wallpapers/A_design_9.bmp");
    const QString other = program.programDir() + QStringLiteral("/Wallpapers/B_design_9.bmp");
    QVERIFY2(TestEnvironment::waitFor([&] { return xfceMonitorPicture("DUMMY0") == wide && xfceMonitorPicture("DUMMY1") == other; }),
             qPrintable(TestEnvironment::run(QStringLiteral("xfconf-query"), {"-c", "xfce4-desktop", "-lv"})));
    // Without xfdesktop and a compositing manager the pages paint each monitor's picture.
    QVERIFY(TestEnvironment::waitFor([&] { return showsTheWallpaper(first, wide) && showsTheWallpaper(second, other); }));

    xrandr({"--output", "DUMMY1", "--mode", "1024x576"});
    QVERIFY(TestEnvironment::waitFor([&] { return xfceMonitorPicture("DUMMY1") == wide; }, followTimeoutMs));
    QCOMPARE(xfceMonitorPicture("DUMMY0"), wide);
    QVERIFY(TestEnvironment::waitFor([&] { return showsTheWallpaper(secondWide, wide); }));
    xrandr({"--output", "DUMMY1", "--mode", "1024x768"});
    QVERIFY(TestEnvironment::waitFor([&] { return xfceMonitorPicture("DUMMY1") == other; }, followTimeoutMs));

    QCOMPARE(program.runToEnd({"/q"}), 0);
    TestEnvironment::run(QStringLiteral("xfconf-query"), {"-c", "xfce4-desktop", "-p", "/backdrop", "-r", "-R"});
}

QTEST_GUILESS_MAIN(tst_ScreenBackgrounds)
#include "tst_screenbackgrounds.moc"
