#include "SaverProgramRun.h"
#include "TestEnvironment.h"
#include "X11Desktop.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

// ZINTELLO.scr inside the window of a screen locker: a plain X window given by
// id or through XSCREENSAVER_WINDOW, and the real XScreenSaver and xsecurelock.
class tst_SaverInLocker : public QObject
{
    Q_OBJECT

private slots:
    void pageFillsTheGivenWindow_data();
    void pageFillsTheGivenWindow();
    void rootWithoutALockerFillsTheScreen();
    void xscreensaverRunsItAsAHack();
    void xsecurelockRunsItAsItsSaver();

private:
    static QImage screenshot();
    // Whether the screen shows the start page there rather than one colour all
    // over: the page has a sky, hills and a clock.
    static bool showsManyColours(const QImage &shot, const QRect &area);
    static QList<qint64> saverProcesses(const QString &argument);
};

QImage tst_SaverInLocker::screenshot()
{
    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("shot.png"));
    TestEnvironment::run(QStringLiteral("import"), {"-window", "root", shot});
    return QImage(shot);
}

bool tst_SaverInLocker::showsManyColours(const QImage &shot, const QRect &area)
{
    QSet<QRgb> colours;
    for (int y = area.top() + 2; y < area.bottom() - 2; y += 7) {
        for (int x = area.left() + 2; x < area.right() - 2; x += 7)
            colours.insert(shot.pixel(x, y));
    }
    return colours.size() > 20;
}

QList<qint64> tst_SaverInLocker::saverProcesses(const QString &argument)
{
    QList<qint64> found;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        QFile commandLine("/proc/" + entry + "/cmdline");
        if (!commandLine.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> arguments = commandLine.readAll().split('\0');
        if (arguments.size() >= 2 && arguments.at(0).endsWith("/ZINTELLO.scr") && arguments.at(1) == argument.toLatin1())
            found.append(entry.toLongLong());
    }
    return found;
}

void tst_SaverInLocker::pageFillsTheGivenWindow_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<bool>("throughVariable");

    QTest::newRow("-window-id hexadecimal") << "-window-id 0x{hex}" << false;
    QTest::newRow("--window-id decimal") << "--window-id {decimal}" << false;
    QTest::newRow("XSCREENSAVER_WINDOW, no arguments") << "" << true;
    QTest::newRow("-root in XSCREENSAVER_WINDOW") << "-root" << true;
}

void tst_SaverInLocker::pageFillsTheGivenWindow()
{
    QFETCH(QString, arguments);
    QFETCH(bool, throughVariable);

    // A plain window in one colour, the size of a settings dialog's preview.
    QWidget host;
    host.setWindowTitle(QStringLiteral("locker"));
    host.setStyleSheet(QStringLiteral("background: magenta"));
    host.setAutoFillBackground(true);
    host.resize(400, 260);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QString id = QString::number(host.winId());
    const QRect area(host.mapToGlobal(QPoint(0, 0)), host.size());

    SaverProgramRun run;
    if (throughVariable) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XSCREENSAVER_WINDOW"), id);
        run.process().setProcessEnvironment(environment);
    }
    run.start(QString(arguments).replace("{hex}", QString::number(host.winId(), 16))
                      .replace("{decimal}", id).split(' ', Qt::SkipEmptyParts));

    QImage shot;
    QVERIFY(TestEnvironment::waitFor([&] {
        shot = screenshot();
        return showsManyColours(shot, area);
    }));
    // Filled to the edges: no corner shows the host's own colour.
    for (const QPoint &corner : {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()})
        QVERIFY(shot.pixelColor(corner) != QColor(Qt::magenta));
    // Inside the host, no window of its own.
    const QList<X11Desktop::WindowId> windows = run.visibleWindows();
    for (X11Desktop::WindowId window : windows)
        QVERIFY(X11Desktop::isSameOrInside(window, host.winId()));

    // The locker ends its saver with SIGTERM: an orderly end.
    run.process().terminate();
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 0);
}

void tst_SaverInLocker::rootWithoutALockerFillsTheScreen()
{
    SaverProgramRun run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XSCREENSAVER_WINDOW"));
    run.process().setProcessEnvironment(environment);
    run.start({QStringLiteral("-root")});
    const QRect screen(QPoint(0, 0), screenshot().size());
    QVERIFY(TestEnvironment::waitFor([&] { return showsManyColours(screenshot(), screen); }));
    run.process().terminate();
    QVERIFY(run.waitForExit());
    QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process().exitCode(), 0);
}

void tst_SaverInLocker::xscreensaverRunsItAsAHack()
{
    // XScreenSaver does not run hacks as root: it runs as "nobody" here, with a
    // program directory and a home it may read.
    QTemporaryDir root;
    QFile::setPermissions(root.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                          | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const QString program = root.path() + "/program";
    const QString home = root.path() + "/home";
    const QString runtime = root.path() + "/runtime";
    QDir().mkpath(program);
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QVERIFY(QFile::copy(TestEnvironment::programDir() + "/ZINTELLO.scr", program + "/ZINTELLO.scr"));
    TestEnvironment::run("cp", {"-rL", TestEnvironment::programDir() + "/html", program + "/html"});
    QFile settings(home + "/.xscreensaver");
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("mode: one\nselected: 0\nlock: False\nfade: False\nunfade: False\nsplash: False\n"
                   "programs: \\\n  \"ZINTELLO\" " + program.toUtf8() + "/ZINTELLO.scr -root \\n\\\n\n");
    settings.close();
    TestEnvironment::run("chmod", {"-R", "a+rX", program});
    TestEnvironment::run("chown", {"-R", "65534:65534", home, runtime});
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    const QStringList asNobody{"--reuid=65534", "--regid=65534", "--clear-groups",
                               "env", "HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config",
                               "XDG_CACHE_HOME=" + home + "/.cache", "XDG_RUNTIME_DIR=" + runtime};
    QProcess xscreensaver;
    xscreensaver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    xscreensaver.start("setpriv", asNobody + QStringList{"xscreensaver", "-no-splash"});
    QVERIFY(xscreensaver.waitForStarted());
    auto command = [&](const QString &what) {
        QProcess control;
        control.start("setpriv", asNobody + QStringList{"xscreensaver-command", what});
        return control.waitForFinished(10000) && control.exitCode() == 0;
    };
    QVERIFY(TestEnvironment::waitFor([&] { return command("-activate"); }));

    QVERIFY(TestEnvironment::waitFor([] { return !saverProcesses("--root").isEmpty(); }));
    const QRect screen(QPoint(0, 0), screenshot().size());
    QVERIFY(TestEnvironment::waitFor([&] { return showsManyColours(screenshot(), screen); }));

    QVERIFY(command("-deactivate"));
    QVERIFY(TestEnvironment::waitFor([] { return saverProcesses("--root").isEmpty(); }));
    command("-exit");
    QVERIFY(xscreensaver.waitForFinished(20000));
}

void tst_SaverInLocker::xsecurelockRunsItAsItsSaver()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XSECURELOCK_SAVER", TestEnvironment::programDir() + "/ZINTELLO.scr");
    QProcess locker;
    locker.setProcessEnvironment(environment);
    locker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    locker.start("xsecurelock", QStringList());
    QVERIFY(locker.waitForStarted());

    QVERIFY(TestEnvironment::waitFor([] { return !saverProcesses("-root").isEmpty(); }));
    const QRect screen(QPoint(0, 0), screenshot().size());
    QVERIFY(TestEnvironment::waitFor([&] { return showsManyColours(screenshot(), screen); }));

    locker.terminate();
    QVERIFY(locker.waitForFinished(20000));
    QVERIFY(TestEnvironment::waitFor([] { return saverProcesses("-root").isEmpty(); }));
}

QTEST_MAIN(tst_SaverInLocker)
#include "tst_saverinlocker.moc"
