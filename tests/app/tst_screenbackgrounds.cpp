#include "DesktopIntegration.h"
#include "DesktopProgram.h"
#include "TestEnvironment.h"
#include "X11Desktop.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

// The real program on two screens side by side (Xorg's dummy driver with RandR):
// the page on each, and screens that go, come back in another size and swap
// which one is primary while it runs.
class tst_ScreenBackgrounds : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void everyScreenHasItsPageAndFollowsTheScreens();

private:
    static QList<QRect> backgrounds();
    static bool backgroundsAre(const QList<QRect> &expected);
    static bool showsTheWallpaper(const QRect &screen, const QString &wallpaper);
    static qint64 pssKiB(qint64 pid);
    // Waits until the memory stops falling, as freed pages go back.
    static qint64 settledPssKiB(qint64 pid);
};

namespace {
const QRect first(0, 0, 1280, 800);
const QRect second(1280, 0, 1024, 768);
const QRect secondSmaller(1280, 0, 800, 600);
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

bool tst_ScreenBackgrounds::showsTheWallpaper(const QRect &screen, const QString &wallpaper)
{
    // The start page draws its layer on the right half only; the left half shows
    // the wallpaper, painted to cover the screen.
    const QImage picture = DesktopIntegration::wallpaperPicture(wallpaper, screen.size());
    for (const QPoint probe : {QPoint(80, 80), QPoint(100, screen.height() - 100)}) {
        const QColor expected = picture.pixelColor(probe);
        const QColor seen = X11Desktop::pixel(screen.topLeft() + probe);
        if (qAbs(seen.red() - expected.red()) + qAbs(seen.green() - expected.green())
                + qAbs(seen.blue() - expected.blue()) > 12)
            return false;
    }
    return true;
}

qint64 tst_ScreenBackgrounds::pssKiB(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression pss(QStringLiteral("^Pss:\\s+(\\d+) kB"), QRegularExpression::MultilineOption);
    return pss.match(QString::fromLatin1(rollup.readAll())).captured(1).toLongLong();
}

qint64 tst_ScreenBackgrounds::settledPssKiB(qint64 pid)
{
    qint64 last = pssKiB(pid);
    for (int i = 0; i < 20; ++i) {
        QTest::qWait(1000);
        const qint64 now = pssKiB(pid);
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
    // The first start applies design 9, for the wide primary screen.
    const QString wide = program.programDir() + QStringLiteral("/Wallpapers/A_design_9.bmp");
    QVERIFY(TestEnvironment::waitFor([&] { return showsTheWallpaper(first, wide) && showsTheWallpaper(second, wide); }));

    // The second screen goes: its page with it.
    QElapsedTimer change;
    change.start();
    xrandr({"--output", "DUMMY1", "--off"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first}); }, followTimeoutMs));
    qDebug() << "a screen gone after" << change.elapsed() << "ms";
    const qint64 oneScreen = settledPssKiB(running.processId());
    QVERIFY(oneScreen > 0);

    // It comes back smaller: a page of its new size, and the first one untouched.
    xrandr({"--addmode", "DUMMY1", "800x600"});
    change.restart();
    xrandr({"--output", "DUMMY1", "--mode", "800x600", "--right-of", "DUMMY0"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first, secondSmaller}); }, followTimeoutMs));
    qDebug() << "a screen added after" << change.elapsed() << "ms";
    QVERIFY(TestEnvironment::waitFor([&] { return showsTheWallpaper(secondSmaller, wide); }));
    const qint64 twoScreens = settledPssKiB(running.processId());

    // Gone again, the memory of its page is given back.
    xrandr({"--output", "DUMMY1", "--off"});
    QVERIFY(TestEnvironment::waitFor([] { return backgroundsAre({first}); }, followTimeoutMs));
    const qint64 oneScreenAgain = settledPssKiB(running.processId());
    qDebug() << "PSS one screen" << oneScreen << "KiB, two screens" << twoScreens << "KiB, one screen again"
             << oneScreenAgain << "KiB";
    QVERIFY2(oneScreenAgain - oneScreen < 2048, qPrintable(QString::number(oneScreenAgain - oneScreen)));

    // The smaller, squarer screen comes back as the primary one: the design's
    // other bitmap is the desktop's wallpaper now, and the pages paint it.
    xrandr({"--output", "DUMMY1", "--mode", "800x600", "--right-of", "DUMMY0", "--primary"});
    const QString other = program.programDir() + QStringLiteral("/Wallpapers/B_design_9.bmp");
    QVERIFY2(TestEnvironment::waitFor([&] { return DesktopIntegration::currentWallpaper() == other; }),
             qPrintable(DesktopIntegration::currentWallpaper()));
    QVERIFY(TestEnvironment::waitFor([&] { return showsTheWallpaper(first, other) && showsTheWallpaper(secondSmaller, other); }));
    QVERIFY(backgroundsAre({first, secondSmaller}));

    QCOMPARE(program.runToEnd({"/q"}), 0);
    QVERIFY(running.waitForFinished(30000));
}

QTEST_GUILESS_MAIN(tst_ScreenBackgrounds)
#include "tst_screenbackgrounds.moc"
