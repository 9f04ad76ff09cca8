#include "DesktopProgram.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// One desktop program per user and display session, and no other local user who
// can stop it from starting or listen to what its starts say to it. Runs as root
// in a mount namespace of its own (unshare -m) with a login manager's /run/user
// of its own; another user is made for it.
class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void anotherUserCannotStopOrIntercept_data();
    void anotherUserCannotStopOrIntercept();
    void oneInstanceWhateverTheEnvironmentSays();
    void aDeletedLockFileLetsNoSecondInstanceIn();

private:
    static void setRuntimeDirectory(const QString &directory);
    static QString asNeighbour(const QStringList &command);
    static void giveToNeighbour(const QString &path, const char *mode);
    static bool runsAndAnswers(DesktopProgram &program, QProcess &first);

    QString sessionRuntimeDirectory;
    QString runMountPoint;
    QString socketName;
    bool madeNeighbour = false;
};

namespace {
const QString neighbour = QStringLiteral("zintello-neighbour");
const QString loginRuntimeDirectory = QStringLiteral("/run/user/0");
const QString markerName = QStringLiteral("de.morvaleen.zintello.innoMutex");
}

void tst_SingleInstance::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("needs root to make another user and mount /run/user");
    if (QProcess::execute("id", {"-u", neighbour}) != 0) {
        QCOMPARE(QProcess::execute("useradd", {"--system", "--no-create-home", "--user-group",
                                               "--shell", "/usr/sbin/nologin", neighbour}), 0);
        madeNeighbour = true;
    }
    // Where no login manager made /run/user, a /run of the test's own holds it.
    runMountPoint = QFileInfo::exists("/run/user") ? "/run/user" : "/run";
    QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "mode=0755", "tmpfs", runMountPoint}), 0);
    QVERIFY(QDir().mkpath(loginRuntimeDirectory));
    QVERIFY(QFile::setPermissions(loginRuntimeDirectory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    sessionRuntimeDirectory = qEnvironmentVariable("XDG_RUNTIME_DIR");

    // The names the program gives its socket and lock in this display session.
    DesktopProgram program;
    program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    const QStringList names = QDir(sessionRuntimeDirectory).entryList({"Zintello-*"}, QDir::System | QDir::Files);
    QCOMPARE(program.runToEnd({"/q"}), 0);
    for (const QString &name : names) {
        if (!name.endsWith(".lock"))
            socketName = name;
    }
    QVERIFY2(!socketName.isEmpty(), qPrintable(names.join(' ')));
}

void tst_SingleInstance::cleanupTestCase()
{
    if (!runMountPoint.isEmpty())
        QProcess::execute("umount", {runMountPoint});
    if (madeNeighbour)
        QProcess::execute("userdel", {neighbour});
}

void tst_SingleInstance::init()
{
    setRuntimeDirectory(sessionRuntimeDirectory);
}

void tst_SingleInstance::setRuntimeDirectory(const QString &directory)
{
    if (directory.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(directory));
}

QString tst_SingleInstance::asNeighbour(const QStringList &command)
{
    return "setpriv --reuid=" + neighbour + " --regid=" + neighbour + " --clear-groups -- "
            + command.join(' ');
}

void tst_SingleInstance::giveToNeighbour(const QString &path, const char *mode)
{
    QCOMPARE(QProcess::execute("chown", {neighbour + ":" + neighbour, path}), 0);
    QCOMPARE(QProcess::execute("chmod", {mode, path}), 0);
}

bool tst_SingleInstance::runsAndAnswers(DesktopProgram &program, QProcess &first)
{
    // It runs, a second start reaches it, a quit request ends it.
    return DesktopProgram::waitForTrayIcon() && program.runToEnd({}) == 0
            && DesktopProgram::waitForSettingsWindow() && program.runToEnd({"/q"}) == 0
            && first.waitForFinished(30000) && first.exitCode() == 0;
}

void tst_SingleInstance::anotherUserCannotStopOrIntercept_data()
{
    QTest::addColumn<QString>("runtimeDirectory");   // null: unset
    QTest::addColumn<QString>("lair");               // where the neighbour waits

    QTest::newRow("runtime directory of another user") << "/tmp/zintello-lair" << "/tmp/zintello-lair";
    QTest::newRow("world-writable runtime directory") << "/tmp" << "/tmp";
    QTest::newRow("no runtime directory, Qt's own fallback taken") << QString() << "/tmp/runtime-root";
    QTest::newRow("relative runtime directory") << "zintello-lair" << "/tmp/zintello-lair";
}

void tst_SingleInstance::anotherUserCannotStopOrIntercept()
{
    QFETCH(QString, runtimeDirectory);
    QFETCH(QString, lair);
    QTemporaryDir neighbourFiles;
    giveToNeighbour(neighbourFiles.path(), "0755");
    const QString script = neighbourFiles.filePath("hostile-neighbour.py");
    QVERIFY(QFile::copy(TestEnvironment::sourceDir() + "/tests/app/hostile-neighbour.py", script));
    const QString ready = neighbourFiles.filePath("ready");
    const QString log = neighbourFiles.filePath("log");
    if (lair != "/tmp") {
        QVERIFY(QDir().mkpath(lair));
        giveToNeighbour(lair, "0777");
    }
    QProcess hostile;
    hostile.setProcessChannelMode(QProcess::ForwardedChannels);
    hostile.start("sh", {"-c", "cd /tmp && exec " + asNeighbour({"python3", script, ready, log,
                  lair + "/" + socketName, lair + "/" + socketName + ".lock", lair + "/" + markerName + ".lock"})});
    QVERIFY(TestEnvironment::waitFor([&] { return QFile::exists(ready); }, 10000));

    setRuntimeDirectory(runtimeDirectory);
    QDir::setCurrent("/tmp");
    DesktopProgram program;
    QProcess &first = program.start();
    const bool answered = runsAndAnswers(program, first);
    hostile.kill();
    hostile.waitForFinished();
    for (const QString &name : {socketName, socketName + ".lock", markerName + ".lock"})
        QFile::remove(lair + "/" + name);
    if (lair != "/tmp")
        QDir(lair).removeRecursively();
    QVERIFY(answered);
    QFile heard(log);
    QVERIFY2(!heard.exists(), heard.open(QIODevice::ReadOnly) ? heard.readAll().constData() : "");
}

void tst_SingleInstance::oneInstanceWhateverTheEnvironmentSays()
{
    // As the login manager sets it, and without it.
    setRuntimeDirectory(loginRuntimeDirectory);
    DesktopProgram program;
    QProcess &first = program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    QVERIFY(DesktopProgram::runningMarkerHeld());
    setRuntimeDirectory(QString());
    QCOMPARE(program.runToEnd({}), 0);
    QVERIFY(DesktopProgram::waitForSettingsWindow());
    // The same X display by another name.
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", display + ".0");
    const int quit = program.runToEnd({"/q"});
    qputenv("DISPLAY", display);
    QCOMPARE(quit, 0);
    QVERIFY(first.waitForFinished(30000));
    setRuntimeDirectory(loginRuntimeDirectory);
    QVERIFY(!DesktopProgram::runningMarkerHeld());
}

void tst_SingleInstance::aDeletedLockFileLetsNoSecondInstanceIn()
{
    DesktopProgram program;
    QProcess &first = program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    const QString lock = sessionRuntimeDirectory + "/" + socketName + ".lock";
    QVERIFY(QFile::remove(lock));
    QProcess &second = program.start();
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(DesktopProgram::waitForSettingsWindow());
    QCOMPARE(program.runToEnd({"/q"}), 0);
    QVERIFY(first.waitForFinished(30000));
}

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
