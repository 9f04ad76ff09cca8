#include "DesktopProgram.h"
#include "TestEnvironment.h"
#include "TestIdentity.h"
#include "X11Desktop.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

// The desktop program's "Open Scrennsaver Settings" button starts the real
// ZINTELLO.scr from the program directory in its configure mode.
class tst_SaverFromDesktopProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void buttonOpensTheScreensaverDialog();

private:
    static qint64 processOf(X11Desktop::WindowId window);
};

void tst_SaverFromDesktopProgram::initTestCase()
{
    TestIdentity::screensaver();
    QVERIFY(QFile::exists(TestEnvironment::programDir() + "/ZINTELLO.scr"));
    QVERIFY(QFile::exists(TestEnvironment::programDir() + "/zintello"));
}

qint64 tst_SaverFromDesktopProgram::processOf(X11Desktop::WindowId window)
{
    const QString pid = TestEnvironment::run(QStringLiteral("xprop"),
                                             {"-id", QString::number(window), "_NET_WM_PID"});
    return QRegularExpression(QStringLiteral("= (\\d+)")).match(pid).captured(1).toLongLong();
}

void tst_SaverFromDesktopProgram::buttonOpensTheScreensaverDialog()
{
    DesktopProgram::clearSettings();
    DesktopProgram program;
    program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    // A second start shows the running program's settings window.
    QCOMPARE(program.runToEnd({}), 0);
    const X11Desktop::WindowId window = DesktopProgram::waitForSettingsWindow();
    QVERIFY(window);
    QVERIFY(X11Desktop::visibleWindows(QStringLiteral("^ZINTELLO Screensaver Settings$")).isEmpty());

    // As a user at the keyboard: to the "Advanced" tab, past the two check
    // boxes to the button, and press it.
    X11Desktop::xdotool({"windowactivate", "--sync", QString::number(window)});
    X11Desktop::xdotool({"key", "--delay", "200", "ctrl+Tab", "Tab", "Tab", "Tab", "space"});

    QList<X11Desktop::WindowId> dialogs;
    QVERIFY(TestEnvironment::waitFor([&] {
        return !(dialogs = X11Desktop::visibleWindows(QStringLiteral("^ZINTELLO Screensaver Settings$"))).isEmpty();
    }));
    QCOMPARE(X11Desktop::geometry(dialogs.first()).size(), QSize(530, 634));

    // The dialog is the screensaver program from the program directory, started with /c.
    const qint64 saver = processOf(dialogs.first());
    QVERIFY(saver > 0);
    const QString procDir = QStringLiteral("/proc/%1").arg(saver);
    QCOMPARE(QFileInfo(QFile::symLinkTarget(procDir + "/exe")).canonicalFilePath(),
             QFileInfo(TestEnvironment::programDir() + "/ZINTELLO.scr").canonicalFilePath());
    QFile commandLine(procDir + "/cmdline");
    QVERIFY(commandLine.open(QIODevice::ReadOnly));
    const QList<QByteArray> arguments = commandLine.readAll().split('\0');
    QVERIFY2(arguments.size() >= 2 && arguments.at(1) == "/c", commandLine.fileName().toUtf8());
    commandLine.close();

    // Escape closes the dialog and ends the screensaver; the desktop program runs on.
    X11Desktop::xdotool({"windowactivate", "--sync", QString::number(dialogs.first())});
    X11Desktop::xdotool({"key", "Escape"});
    QVERIFY(TestEnvironment::waitFor([&] {
        // Gone, or left as a zombie until the desktop program reaps it.
        QFile status(procDir + "/status");
        return !status.open(QIODevice::ReadOnly) || status.readAll().contains("State:\tZ");
    }));
    QCOMPARE(program.runToEnd({"/q"}), 0);
}

QTEST_MAIN(tst_SaverFromDesktopProgram)
#include "tst_saverfromdesktopprogram.moc"
