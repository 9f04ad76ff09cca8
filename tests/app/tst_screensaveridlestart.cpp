#include "DesktopProgram.h"
#include "DesktopProgramSettings.h"
#include "TestEnvironment.h"
#include "X11Desktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <memory>

// The real desktop program starts the real ZINTELLO.scr /s after the session
// has been idle for the stored time (shortened to one minute here), as the
// X server counts idle time, and not while something keeps the session awake.
// The flows run in order, each on from where the one before left the session:
// "input" needs no session bus, "awake" and "gnome" run on a private one.
class tst_ScreensaverIdleStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    // input
    void startsAfterTheIdleTime();
    void keyPressEndsTheShow();
    void inputDuringTheIdleTimeDelaysTheNextStart();
    void switchedOffInTheStoreItStaysAway();

    // awake
    void inhibitionKeepsTheShowAway();
    void holderLeavingTheBusLetsTheShowStart();
    void focusedFullScreenWindowKeepsTheShowAway();

    // gnome
    void gnomeSessionInhibitorKeepsTheShowAway();
    void endOfTheGnomeSessionInhibitorLetsTheShowStart();

private:
    static QList<X11Desktop::WindowId> showWindows();
    QList<qint64> showProcesses() const;
    static bool showAppears(int timeoutMs);
    void verifyThePageShowsFullScreen() const;
    void verifyTheShowComesAnIdleTimeFromNow();
    static void setStoredMinutes(int minutes);
    void startGnomeSession();
    static bool gnomeSessionInhibitsIdleness();

    std::unique_ptr<DesktopProgram> program;
    qint64 programProcess = 0;
    const int idleTimeMs = 60000;
    // An X server counts idle time on its own clock, and the program sleeps
    // coarsely: a start counts as "after the idle time" a little before it.
    const int earliestStartMs = idleTimeMs - 8000;
    const int latestStartMs = 3 * idleTimeMs;

    // The real GNOME session manager beside an empty system bus of its own,
    // which it insists on; and gnome-session-inhibit, its own client.
    QProcess gnomeSystemBus;
    QProcess gnomeSession;
    QProcess gnomeInhibitor;
    QTemporaryDir gnomeAutostart;
};

void tst_ScreensaverIdleStart::initTestCase()
{
    QVERIFY(QFile::exists(TestEnvironment::programDir() + "/ZINTELLO.scr"));
    DesktopProgram::clearSettings();
    setStoredMinutes(1);
    program = std::make_unique<DesktopProgram>();
    programProcess = program->start().processId();
    QVERIFY(DesktopProgram::waitForTrayIcon());
}

void tst_ScreensaverIdleStart::cleanupTestCase()
{
    if (program)
        QCOMPARE(program->runToEnd({"/q"}), 0);
    QVERIFY(TestEnvironment::waitFor([this] { return showProcesses().isEmpty(); }));
    for (QProcess *process : {&gnomeInhibitor, &gnomeSession, &gnomeSystemBus}) {
        process->terminate();
        process->waitForFinished(10000);
    }
}

void tst_ScreensaverIdleStart::setStoredMinutes(int minutes)
{
    QSettings(DesktopProgram::settingsFile(), QSettings::IniFormat).setValue(DesktopProgramSettings::screensaverMinutesKey, minutes);
}

QList<X11Desktop::WindowId> tst_ScreensaverIdleStart::showWindows()
{
    return X11Desktop::visibleWindowsOfProgram(QStringLiteral("ZINTELLO\\.scr"));
}

QList<qint64> tst_ScreensaverIdleStart::showProcesses() const
{
    // The shows this desktop program started; other sessions may run theirs.
    const QByteArray parent = "PPid:\t" + QByteArray::number(programProcess) + '\n';
    const QString saver = QFileInfo(TestEnvironment::programDir() + "/ZINTELLO.scr").canonicalFilePath();
    QList<qint64> found;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        QFile commandLine("/proc/" + entry + "/cmdline");
        QFile status("/proc/" + entry + "/status");
        if (!commandLine.open(QIODevice::ReadOnly) || !status.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> arguments = commandLine.readAll().split('\0');
        if (arguments.size() >= 2 && QFileInfo(QString::fromLocal8Bit(arguments.at(0))).canonicalFilePath() == saver
                && arguments.at(1) == "/s") {
            const QByteArray state = status.readAll();
            if (state.contains(parent) && !state.contains("State:\tZ"))
                found.append(entry.toLongLong());
        }
    }
    return found;
}

bool tst_ScreensaverIdleStart::showAppears(int timeoutMs)
{
    return TestEnvironment::waitFor([] { return !showWindows().isEmpty(); }, timeoutMs);
}

void tst_ScreensaverIdleStart::verifyThePageShowsFullScreen() const
{
    const QList<X11Desktop::WindowId> windows = showWindows();
    QCOMPARE(windows.size(), 1);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(TestEnvironment::waitFor([&] { return X11Desktop::geometry(windows.first()) == screen; }));
    // On top of everything, the desktop program's own background included.
    QCOMPARE(X11Desktop::stackingOrder().last(), windows.first());
    // The page is drawn: the start page is never black all over.
    QVERIFY(TestEnvironment::waitFor([&] { return X11Desktop::pixel(screen.center()) != QColor(Qt::black); }));
    QCOMPARE(showProcesses().size(), 1);
}

// Not before, fills the screen, and ends on a key press.
void tst_ScreensaverIdleStart::verifyTheShowComesAnIdleTimeFromNow()
{
    QElapsedTimer sinceActivity;
    sinceActivity.start();
    QVERIFY(showAppears(latestStartMs));
    QVERIFY2(sinceActivity.elapsed() > earliestStartMs, qPrintable(QString::number(sinceActivity.elapsed())));
    verifyThePageShowsFullScreen();
    keyPressEndsTheShow();
}

void tst_ScreensaverIdleStart::startsAfterTheIdleTime()
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QVERIFY(showAppears(latestStartMs));
    // The session was idle a few seconds before the program was up.
    QVERIFY2(sinceStart.elapsed() > earliestStartMs - 10000, qPrintable(QString::number(sinceStart.elapsed())));
    verifyThePageShowsFullScreen();
    // Not again while the show runs, however long the session stays idle.
    QTest::qWait(idleTimeMs / 2);
    QCOMPARE(showProcesses().size(), 1);
}

void tst_ScreensaverIdleStart::keyPressEndsTheShow()
{
    X11Desktop::key(QStringLiteral("a"));
    QVERIFY(TestEnvironment::waitFor([this] { return showWindows().isEmpty() && showProcesses().isEmpty(); }));
}

void tst_ScreensaverIdleStart::inputDuringTheIdleTimeDelaysTheNextStart()
{
    QVERIFY(!showAppears(idleTimeMs / 2));
    X11Desktop::xdotool({"mousemove_relative", "--", "15", "10"});
    verifyTheShowComesAnIdleTimeFromNow();
}

void tst_ScreensaverIdleStart::switchedOffInTheStoreItStaysAway()
{
    // Read again at the program's next look at the session.
    setStoredMinutes(0);
    QVERIFY(!showAppears(2 * idleTimeMs));
    QVERIFY(showProcesses().isEmpty());
}

void tst_ScreensaverIdleStart::inhibitionKeepsTheShowAway()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QVERIFY2(bus.isConnected(), "runs on a private session bus (dbus-run-session)");
    // The program offers the service: nobody else does on this bus.
    QVERIFY(TestEnvironment::waitFor([&] {
        return bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.ScreenSaver")).value();
    }));
    // A player on a connection of its own.
    QDBusConnection player = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("player"));
    QDBusMessage inhibit = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
            QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("tst_screensaveridlestart") << QStringLiteral("a film");
    const QDBusReply<uint> cookie = player.call(inhibit);
    QVERIFY2(cookie.isValid(), qPrintable(cookie.error().message()));
    QVERIFY(cookie.value() != 0);

    QVERIFY(!showAppears(idleTimeMs + idleTimeMs / 2));
    QVERIFY(showProcesses().isEmpty());
}

void tst_ScreensaverIdleStart::holderLeavingTheBusLetsTheShowStart()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("player"));
    // The end of the inhibition counts as activity.
    verifyTheShowComesAnIdleTimeFromNow();
}

void tst_ScreensaverIdleStart::focusedFullScreenWindowKeepsTheShowAway()
{
    QWidget film;
    film.setWindowTitle(QStringLiteral("a film"));
    film.showFullScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&film));
    X11Desktop::activate(film.winId());
    QVERIFY(TestEnvironment::waitFor([&] {
        return TestEnvironment::run(QStringLiteral("xprop"), {"-root", "_NET_ACTIVE_WINDOW"})
                .contains(QString::number(film.winId(), 16));
    }));

    QVERIFY(!showAppears(idleTimeMs + idleTimeMs / 2));
    film.close();
    QVERIFY(showAppears(latestStartMs));
    verifyThePageShowsFullScreen();
    keyPressEndsTheShow();
}

void tst_ScreensaverIdleStart::startGnomeSession()
{
    gnomeSystemBus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    QVERIFY(gnomeSystemBus.waitForReadyRead(10000));
    const QString systemBusAddress = QString::fromUtf8(gnomeSystemBus.readLine().trimmed());

    // A session of no components, and no autostart programs of this machine.
    const QString sessions = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QStringLiteral("/gnome-session/sessions");
    QVERIFY(QDir().mkpath(sessions));
    QFile session(sessions + QStringLiteral("/zintello-test.session"));
    QVERIFY(session.open(QIODevice::WriteOnly));
    session.write("[GNOME Session]\nName=ZINTELLO test\nRequiredComponents=\n");
    session.close();
    QVERIFY(gnomeAutostart.isValid());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), systemBusAddress);
    gnomeSession.setProcessEnvironment(environment);
    gnomeSession.setProcessChannelMode(QProcess::ForwardedChannels);
    gnomeSession.start(QStringLiteral("gnome-session"),
                       {"--builtin", "--session=zintello-test", "--disable-acceleration-check",
                        "--autostart=" + gnomeAutostart.path()});
    QVERIFY(gnomeSession.waitForStarted());
    QVERIFY(TestEnvironment::waitFor([] {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.gnome.SessionManager")).value();
    }));
}

bool tst_ScreensaverIdleStart::gnomeSessionInhibitsIdleness()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.gnome.SessionManager"), QStringLiteral("/org/gnome/SessionManager"),
            QStringLiteral("org.gnome.SessionManager"), QStringLiteral("IsInhibited"));
    call << 8u;
    const QDBusReply<bool> reply = QDBusConnection::sessionBus().call(call);
    return reply.isValid() && reply.value();
}

void tst_ScreensaverIdleStart::gnomeSessionInhibitorKeepsTheShowAway()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "runs on a private session bus (dbus-run-session)");
    startGnomeSession();
    QVERIFY(!gnomeSessionInhibitsIdleness());
    gnomeInhibitor.setProcessChannelMode(QProcess::ForwardedChannels);
    gnomeInhibitor.start(QStringLiteral("gnome-session-inhibit"), {"--inhibit", "idle", "--inhibit-only"});
    QVERIFY(gnomeInhibitor.waitForStarted());
    QVERIFY(TestEnvironment::waitFor(gnomeSessionInhibitsIdleness));

    QVERIFY(!showAppears(idleTimeMs + idleTimeMs / 2));
    QVERIFY(showProcesses().isEmpty());
}

void tst_ScreensaverIdleStart::endOfTheGnomeSessionInhibitorLetsTheShowStart()
{
    gnomeInhibitor.terminate();
    QVERIFY(gnomeInhibitor.waitForFinished(10000));
    QVERIFY(TestEnvironment::waitFor([] { return !gnomeSessionInhibitsIdleness(); }));
    // The end of the inhibition counts as activity.
    verifyTheShowComesAnIdleTimeFromNow();
}

QTEST_MAIN(tst_ScreensaverIdleStart)
#include "tst_screensaveridlestart.moc"
