#include "DesktopProgram.h"
#include "ManifestServer.h"
#include "TestEnvironment.h"
#include "TestIdentity.h"
#include "UpdateChecker.h"
#include "X11Desktop.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QtTest>

// The real desktop program at start: it asks for the manifest through the
// system's proxy, here a local server, and offers the newer version in a
// message box until the user answers.
class tst_UpdateCheckAtStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void offersANewerVersionAtStartThenKeepsQuiet();

private:
    int manifestRequests() const;
    // The visible dialog windows of the program: the message box.
    static QList<X11Desktop::WindowId> dialogs();
    void quit(QProcess &running);

    ManifestServer server;
    DesktopProgram program;
};

void tst_UpdateCheckAtStart::initTestCase()
{
    TestIdentity::desktopProgram();

    QVERIFY(server.start());
    server.setResponse(200, R"({"2.0":{"Version":"2.0","Title":"ZINTELLO 2.0"}})");
    // The program inherits these; every web request it makes goes to the server.
    qunsetenv("no_proxy");
    qunsetenv("NO_PROXY");
    qputenv("http_proxy", server.proxyUrl());
    qputenv("https_proxy", server.proxyUrl());
    DesktopProgram::clearSettings();
}

int tst_UpdateCheckAtStart::manifestRequests() const
{
    int count = 0;
    for (const QByteArray &line : server.requestLines())
        count += line == "GET http://www.morvaleen.de/update.json HTTP/1.1";
    return count;
}

QList<X11Desktop::WindowId> tst_UpdateCheckAtStart::dialogs()
{
    QList<X11Desktop::WindowId> found;
    const QList<X11Desktop::WindowId> windows = X11Desktop::visibleWindowsOfProgram(QStringLiteral("zintello"));
    for (X11Desktop::WindowId window : windows) {
        if (X11Desktop::properties(window, QStringLiteral("_NET_WM_WINDOW_TYPE"))
                .contains(QLatin1String("_NET_WM_WINDOW_TYPE_DIALOG")))
            found.append(window);
    }
    return found;
}

void tst_UpdateCheckAtStart::quit(QProcess &running)
{
    QCOMPARE(program.runToEnd({QStringLiteral("/q")}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(running.state(), QProcess::NotRunning, 30000);
}

void tst_UpdateCheckAtStart::offersANewerVersionAtStartThenKeepsQuiet()
{
    // First start: the box shows, Escape answers "Remind me later".
    const QDateTime firstStart = QDateTime::currentDateTime();
    QProcess &first = program.start();
    QTRY_COMPARE_WITH_TIMEOUT(manifestRequests(), 1, 60000);
    QElapsedTimer sinceRequest;
    sinceRequest.start();
    QList<X11Desktop::WindowId> boxes;
    QTRY_VERIFY_WITH_TIMEOUT(!(boxes = dialogs()).isEmpty(), 60000);
    const qint64 timeToShow = sinceRequest.elapsed();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(X11Desktop::geometry(boxes.first()).width() >= 500);
    QVERIFY(!DesktopProgram::setting(UpdateChecker::lastUpdateMessageKey).isValid());

    X11Desktop::activate(boxes.first());
    X11Desktop::key(QStringLiteral("Escape"));
    QTRY_VERIFY_WITH_TIMEOUT(dialogs().isEmpty(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(DesktopProgram::setting(UpdateChecker::lastUpdateMessageKey).isValid(), 30000);
    const QDateTime answered = DesktopProgram::setting(UpdateChecker::lastUpdateMessageKey).toDateTime();
    QVERIFY(answered >= firstStart.addSecs(-1));
    QVERIFY(answered <= QDateTime::currentDateTime().addSecs(1));
    QVERIFY(DesktopProgram::setting(UpdateChecker::ignoredKeysKey).toStringList().isEmpty());
    quit(first);

    // Second start within 36 hours: the manifest is fetched, nothing shows.
    QProcess &second = program.start();
    QTRY_COMPARE_WITH_TIMEOUT(manifestRequests(), 2, 60000);
    // Ample time for the box to have shown, going by the first start.
    QElapsedTimer waiting;
    waiting.start();
    while (waiting.elapsed() < qMax<qint64>(5000, 3 * timeToShow)) {
        QVERIFY(dialogs().isEmpty());
        QTest::qWait(200);
    }
    QCOMPARE(DesktopProgram::setting(UpdateChecker::lastUpdateMessageKey).toDateTime(), answered);
    quit(second);

    // Once the last answer is more than 36 hours old, the box shows again.
    const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-37 * 3600);
    QSettings(DesktopProgram::settingsFile(), QSettings::IniFormat)
        .setValue(UpdateChecker::lastUpdateMessageKey, longAgo);
    QProcess &third = program.start();
    QTRY_COMPARE_WITH_TIMEOUT(manifestRequests(), 3, 60000);
    QTRY_VERIFY_WITH_TIMEOUT(!(boxes = dialogs()).isEmpty(), 60000);
    X11Desktop::activate(boxes.first());
    X11Desktop::key(QStringLiteral("Escape"));
    QTRY_VERIFY_WITH_TIMEOUT(DesktopProgram::setting(UpdateChecker::lastUpdateMessageKey).toDateTime() > longAgo,
                             30000);
    quit(third);

    // The update check was all that went out: no page of the windows asked the network.
    QCOMPARE(server.requestLines().size(), manifestRequests());
}

QTEST_GUILESS_MAIN(tst_UpdateCheckAtStart)
#include "tst_updatecheckatstart.moc"
