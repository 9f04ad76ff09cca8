#include "DesktopProgram.h"
#include "DesktopProgramSettings.h"
#include "SaveNetworkCookieJar.h"
#include "TestIdentity.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

// Stored cookies that no page of ours wrote: malformed values and a flooded
// store. The start page still shows the clock, and the program still answers.
class tst_HostileCookies : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startPageSurvivesTheStore_data();
    void startPageSurvivesTheStore();
    void aFloodedStoreDelaysNoQuitRequest();

private:
    static QByteArray flood(int count);
    static void store(const QByteArray &cookies);
};

void tst_HostileCookies::initTestCase()
{
    TestIdentity::desktopProgram();
}

QByteArray tst_HostileCookies::flood(int count)
{
    QByteArray cookies;
    for (int i = 0; i < count; ++i)
        cookies += "flood" + QByteArray::number(i) + "=x; path=/\n";
    return cookies;
}

void tst_HostileCookies::store(const QByteArray &cookies)
{
    QSettings settings(DesktopProgram::settingsFile(), QSettings::IniFormat);
    settings.clear();
    settings.setValue(SaveNetworkCookieJar::cookiesKey, cookies);
    settings.setValue(DesktopProgramSettings::firstStartKey, false);
}

void tst_HostileCookies::startPageSurvivesTheStore_data()
{
    QTest::addColumn<QByteArray>("cookies");

    QTest::newRow("malformed escape in the language") << QByteArray("language=%E0%A4%A; path=/\n");
    QTest::newRow("malformed escape in the design") << QByteArray("design=%E0%A4%A; path=/\n");
    QTest::newRow("lone percent sign") << QByteArray("language=%; path=/\ndesign=%; path=/\n");
    QTest::newRow("100,000 cookies and a malformed one")
            << flood(100000) + "language=%E0%A4%A; path=/\n";
}

void tst_HostileCookies::startPageSurvivesTheStore()
{
    QFETCH(QByteArray, cookies);
    store(cookies);
    QElapsedTimer sinceStart;
    sinceStart.start();
    auto *jar = new SaveNetworkCookieJar(nullptr);
    ZintelloDesktopBackgroundWidget page(jar, nullptr);
    page.show();
    QWebFrame *frame = page.webView->page()->mainFrame();
    const auto text = [frame](const char *id) {
        return frame->evaluateJavaScript(QStringLiteral("document.getElementById('%1').textContent").arg(id)).toString();
    };
    QTRY_VERIFY_WITH_TIMEOUT(page.webView->url().isLocalFile() && !text("time").isEmpty(), 20000);
    QVERIFY(!text("date").isEmpty());
    QVERIFY(!text("greeting").isEmpty());
    qInfo("clock shown %lld ms after the start", sinceStart.elapsed());
    QVERIFY(sinceStart.elapsed() < 10000);
    // The jar keeps what the pages need, not the flood.
    QVERIFY(jar->cookiesForUrl(page.webView->url()).size() <= SaveNetworkCookieJar::maxCookies + 1);
}

void tst_HostileCookies::aFloodedStoreDelaysNoQuitRequest()
{
    store(flood(100000) + "language=%E0%A4%A; path=/\n");
    DesktopProgram program;
    QProcess &running = program.start();
    QVERIFY(DesktopProgram::waitForTrayIcon());
    QTest::qWait(1000);
    QElapsedTimer sinceRequest;
    sinceRequest.start();
    QCOMPARE(program.runToEnd({"/q"}), 0);
    QVERIFY(running.waitForFinished(30000));
    qInfo("the program ended %lld ms after the quit request was started", sinceRequest.elapsed());
    // The request's own process takes part of it: a Qt start on a busy machine.
    QVERIFY(sinceRequest.elapsed() < 3000);
    // The store now holds the bounded jar, not the flood.
    QVERIFY(DesktopProgram::setting(SaveNetworkCookieJar::cookiesKey).toByteArray().count('\n') <= SaveNetworkCookieJar::maxCookies + 1);
}

QTEST_MAIN(tst_HostileCookies)
#include "tst_hostilecookies.moc"
