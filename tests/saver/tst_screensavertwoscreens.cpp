#include "SaverProgramRun.h"
#include "TestEnvironment.h"
#include "TestIdentity.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

// The real ZINTELLO.scr on two screens side by side (the session's Xorg with
// the dummy driver): DUMMY0 1280x800 at 0,0 and DUMMY1 1024x768 at 1280,0.
class tst_ScreenSaverTwoScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pageOnThePrimaryScreenCoverOnTheOther_data();
    void pageOnThePrimaryScreenCoverOnTheOther();
    void aScreenPluggedInDuringTheShowIsCovered();

private:
    static bool setPrimary(const QString &output);
    static bool waitForColour(const QList<QPoint> &positions, const QColor &colour);
    static QList<QPoint> probesIn(const QRect &rect)
    {
        return {rect.center(), rect.topLeft() + QPoint(3, 3), rect.bottomRight() - QPoint(3, 3),
                QPoint(rect.right() - 3, rect.top() + 3), QPoint(rect.left() + 3, rect.bottom() - 3)};
    }
};

void tst_ScreenSaverTwoScreens::initTestCase()
{
    TestIdentity::screensaver();
    QCOMPARE(QGuiApplication::screens().size(), 2);
}

void tst_ScreenSaverTwoScreens::cleanup()
{
    QVERIFY(setPrimary(QStringLiteral("DUMMY0")));
}

bool tst_ScreenSaverTwoScreens::setPrimary(const QString &output)
{
    TestEnvironment::run(QStringLiteral("xrandr"), {"--output", output, "--primary"});
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        if (TestEnvironment::run(QStringLiteral("xrandr"), {}).contains(output + QStringLiteral(" connected primary")))
            return true;
        QTest::qWait(100);
    }
    return false;
}

bool tst_ScreenSaverTwoScreens::waitForColour(const QList<QPoint> &positions, const QColor &colour)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        bool all = true;
        for (const QPoint &position : positions)
            all = all && X11Desktop::pixel(position) == colour;
        if (all)
            return true;
        QTest::qWait(100);
    }
    for (const QPoint &position : positions)
        qWarning() << position << X11Desktop::pixel(position) << "expected" << colour;
    return false;
}

void tst_ScreenSaverTwoScreens::pageOnThePrimaryScreenCoverOnTheOther_data()
{
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QRect>("pageScreen");
    QTest::addColumn<QRect>("coverScreen");

    const QRect left(0, 0, 1280, 800);
    const QRect right(1280, 0, 1024, 768);
    QTest::newRow("primary screen on the left") << "DUMMY0" << left << right;
    QTest::newRow("primary screen on the right") << "DUMMY1" << right << left;
}

void tst_ScreenSaverTwoScreens::pageOnThePrimaryScreenCoverOnTheOther()
{
    QFETCH(QString, primary);
    QFETCH(QRect, pageScreen);
    QFETCH(QRect, coverScreen);

    QVERIFY(setPrimary(primary));
    // The pointer on the other screen, where a window manager may place new windows.
    const QPoint start = coverScreen.center() - QPoint(100, 100);
    X11Desktop::xdotool({"mousemove", QString::number(start.x()), QString::number(start.y())});

    SaverProgramRun run({{"index.html", SaverProgramRun::inputEchoPage()}});
    run.start({"/s"});
    QVERIFY(run.waitForWindow());
    QVERIFY(waitForColour(probesIn(pageScreen), SaverProgramRun::inputEchoColour(QPoint(1, 2), 200)));
    QVERIFY(waitForColour(probesIn(coverScreen), Qt::black));
    QCOMPARE(run.visibleWindows().size(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(X11Desktop::pointerIsBlank(), 20000);

    // A first move on the cover is only recorded. The pointer stays hidden there.
    X11Desktop::xdotool({"mousemove", QString::number(coverScreen.center().x()),
                              QString::number(coverScreen.center().y())});
    QTRY_COMPARE(X11Desktop::pointer(), coverScreen.center());
    QTRY_VERIFY_WITH_TIMEOUT(X11Desktop::pointerIsBlank(), 20000);
    QVERIFY(run.isRunning());

    // A click on the cover ends the show.
    X11Desktop::xdotool({"click", "1"});
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 0);

    const QStringList debug = QString::fromLocal8Bit(run.process().readAllStandardError()).split(QLatin1Char('\n'));
    const QString coverLine = QStringLiteral("QRect(%1,%2 %3x%4)").arg(coverScreen.x()).arg(coverScreen.y())
            .arg(coverScreen.width()).arg(coverScreen.height());
    QVERIFY2(debug.contains(QStringLiteral("2")), qPrintable(debug.join('\n')));
    QVERIFY2(debug.contains(coverLine), qPrintable(debug.join('\n')));
}

void tst_ScreenSaverTwoScreens::aScreenPluggedInDuringTheShowIsCovered()
{
    const QRect right(1280, 0, 1024, 768);
    TestEnvironment::run(QStringLiteral("xrandr"), {"--output", "DUMMY1", "--off"});
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::screens().size(), 1, 20000);
    SaverProgramRun run({{"index.html", SaverProgramRun::inputEchoPage()}});
    run.start({"/s"});
    QVERIFY(run.waitForWindow());
    QVERIFY(waitForColour(probesIn(QRect(0, 0, 1280, 800)), SaverProgramRun::inputEchoColour(QPoint(1, 2), 200)));

    TestEnvironment::run(QStringLiteral("xrandr"), {"--output", "DUMMY1", "--mode", "1024x768", "--right-of", "DUMMY0"});
    QVERIFY(waitForColour(probesIn(right), Qt::black));
    QTRY_COMPARE_WITH_TIMEOUT(run.visibleWindows().size(), 2, 20000);
    QVERIFY(run.isRunning());
    X11Desktop::xdotool({"key", "a"});
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitCode(), 0);
}

QTEST_MAIN(tst_ScreenSaverTwoScreens)
#include "tst_screensavertwoscreens.moc"
