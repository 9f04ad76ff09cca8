#include "DesktopIntegration.h"
#include "DesktopProgramSettings.h"
#include "OfflineNetwork.h"
#include "SaveNetworkCookieJar.h"
#include "TestIdentity.h"
#include "ZintelloDesktopSettingsWindow.h"
#include "linux/SettingsFileFormat.h"

#include <QNetworkCookie>
#include <QStandardPaths>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

#include <cstdio>

// What the user chose survives an end without a quit: the process killed, or
// its X server gone. The program part runs in a child process of this test
// (the same executable, started with --as-program) on an X server of its own,
// so that the test can kill either.
class tst_AbruptEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void choicesSurvive_data();
    void choicesSurvive();

private:
    static QSettings::SettingsMap storedSettings();
};

namespace {

// The desktop program as main() makes it; the choices are made in its settings page.
int runAsProgram(int argc, char **argv)
{
    TestIdentity::desktopProgram();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    DesktopIntegration::useFailureSafeSettingsStore();
    auto *window = new ZintelloDesktopSettingsWindow;
    DesktopIntegration::quitApplicationWhenTheSessionEnds();
    // Its settings page loads when it is first shown.
    window->show();
    QWebView *view = window->findChild<QWebView *>("settings");
    QWebFrame *page = view->page()->mainFrame();
    if (!QTest::qWaitFor([&] {
            return view->url().isLocalFile() && page->evaluateJavaScript("document.readyState").toString() == "complete";
        }, 20000))
        return 2;
    page->evaluateJavaScript("Zintello.setCookie('design', '4'); Zintello.setCookie('language', 'fr');");
    std::puts("chosen");
    std::fflush(stdout);
    return QApplication::exec();
}

// An X server of the test's own; Xvfb names its display on standard output.
QString startDisplay(QProcess &server)
{
    server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x800x24"});
    if (!server.waitForReadyRead(20000))
        return QString();
    return ":" + QString::fromLatin1(server.readLine()).trimmed();
}

} // namespace

void tst_AbruptEnd::initTestCase()
{
    TestIdentity::desktopProgram();
    OfflineNetwork::install();
}

QSettings::SettingsMap tst_AbruptEnd::storedSettings()
{
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Morvaleen/Zintello.conf");
    QSettings::SettingsMap map;
    if (file.open(QIODevice::ReadOnly))
        SettingsFileFormat::decode(file.readAll(), map);
    return map;
}

void tst_AbruptEnd::choicesSurvive_data()
{
    QTest::addColumn<bool>("killTheServer");
    QTest::addColumn<int>("msBeforeTheEnd");

    QTest::newRow("kill -9 two seconds after the choice") << false << 2000;
    QTest::newRow("X server killed at once") << true << 0;
    QTest::newRow("X server killed two seconds after the choice") << true << 2000;
}

void tst_AbruptEnd::choicesSurvive()
{
    QFETCH(bool, killTheServer);
    QFETCH(int, msBeforeTheEnd);
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Morvaleen/Zintello.conf");

    QProcess server;
    const QString display = startDisplay(server);
    QVERIFY(!display.isEmpty());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display);
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QCoreApplication::applicationFilePath(), {"--as-program"});
    QVERIFY(program.waitForReadyRead(30000) && program.readLine().startsWith("chosen"));
    QTest::qWait(msBeforeTheEnd);
    if (killTheServer)
        server.kill();
    else
        program.kill();
    QVERIFY(program.waitForFinished(20000));
    server.kill();
    server.waitForFinished();

    // What the next start finds: the choices in the pages' cookies, the design
    // in the store, and its wallpaper.
    const QSettings::SettingsMap stored = storedSettings();
    QCOMPARE(stored.value(DesktopProgramSettings::designNumberKey).toString(), QString("4"));
    QVERIFY(DesktopIntegration::currentWallpaper().endsWith("_design_4.bmp"));
    SaveNetworkCookieJar nextStart(nullptr);
    const QString page = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/html/settings.html").toString();
    QStringList cookies;
    for (const QNetworkCookie &cookie : nextStart.cookiesForUrl(QUrl(page)))
        cookies.append(QString::fromLatin1(cookie.name() + "=" + cookie.value()));
    QVERIFY2(cookies.contains("design=4") && cookies.contains("language=fr"), qPrintable(cookies.join("; ")));
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--as-program") == 0)
        return runAsProgram(argc, argv);
    QCoreApplication app(argc, argv);
    tst_AbruptEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_abruptend.moc"
