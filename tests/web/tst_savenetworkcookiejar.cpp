#include "SaveNetworkCookieJar.h"
#include "TestIdentity.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QSettings>
#include <QTemporaryDir>
#include <QWebFrame>
#include <QWebPage>
#include <QtTest>

class tst_SaveNetworkCookieJar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void storesEveryCookieOnALineOfItsOwn();
    void dropsStoredLinesThatDoNotParse();
    void emptyStoreGivesOnlyTheStartCookieToTheDesktopProgram();
    void everyStartKeepsOneStartCookie();
    void pathsComeBackAsTheyWere_data();
    void pathsComeBackAsTheyWere();
    void signalsForCookiesThatPagesSet_data();
    void signalsForCookiesThatPagesSet();
    void onlyTheFirstCookieOfAListCounts();
    void emptyListSignalsNothing();
    void screensaverJarOnlyKeepsCookies();
    void aJarThatChangedNothingWritesNothing();
    void changesAreStoredWithinAboutASecond();
    void keepsTheNewestCookiesWithinTheBounds_data();
    void keepsTheNewestCookiesWithinTheBounds();

private:
    // Sets a cookie from a script in a real page that uses the jar.
    void setCookieFromPage(SaveNetworkCookieJar *jar, const QString &cookie);
    static QList<QNetworkCookie> stored();

    QTemporaryDir pages;
};

namespace {
// Records the jar's signals in order, and whether the cookie was already in the
// jar when each came.
class SignalRecorder : public QObject
{
public:
    explicit SignalRecorder(SaveNetworkCookieJar *jar)
    {
        connect(jar, &SaveNetworkCookieJar::cookiesChanges, this, [this, jar] {
            record(jar, QStringLiteral("cookiesChanges"));
        });
        connect(jar, &SaveNetworkCookieJar::changedToDesign, this, [this, jar](const QString &number) {
            record(jar, QStringLiteral("changedToDesign(%1)").arg(number));
        });
    }

    QStringList signalsSeen;
    QStringList cookiesWhenSignalled;

private:
    void record(SaveNetworkCookieJar *jar, const QString &signal)
    {
        signalsSeen.append(signal);
        QStringList names;
        const QList<QNetworkCookie> cookies = jar->cookiesForUrl(QUrl("http://zintello.test/"));
        for (const QNetworkCookie &cookie : cookies)
            names.append(QString::fromLatin1(cookie.toRawForm(QNetworkCookie::NameAndValueOnly)));
        cookiesWhenSignalled.append(names.join(QLatin1Char(';')));
    }
};
}

void tst_SaveNetworkCookieJar::initTestCase()
{
    TestIdentity::desktopProgram();
    QVERIFY(pages.isValid());
}

void tst_SaveNetworkCookieJar::init()
{
    QSettings().clear();
}

QList<QNetworkCookie> tst_SaveNetworkCookieJar::stored()
{
    return QNetworkCookie::parseCookies(QSettings().value(SaveNetworkCookieJar::cookiesKey).toByteArray());
}

void tst_SaveNetworkCookieJar::setCookieFromPage(SaveNetworkCookieJar *jar, const QString &cookie)
{
    QWebPage page;
    page.networkAccessManager()->setCookieJar(jar);
    jar->setParent(this);   // the test keeps the jar, not the page
    page.mainFrame()->setHtml("<html><body></body></html>", QUrl("http://zintello.test/page.html"));
    page.mainFrame()->evaluateJavaScript(QStringLiteral("document.cookie = '%1';").arg(cookie));
}

void tst_SaveNetworkCookieJar::storesEveryCookieOnALineOfItsOwn()
{
    QList<QNetworkCookie> cookies;
    for (const char *name : {"design", "language", "seen"}) {
        QNetworkCookie cookie(name, QByteArray(name) + "-value");
        cookie.setPath("/html/");
        cookie.setDomain(".zintello.test");
        cookie.setExpirationDate(QDateTime(QDate(2040, 1, 2), QTime(3, 4, 5), Qt::UTC));
        cookies.append(cookie);
    }
    {
        SaveNetworkCookieJar jar(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
        for (const QNetworkCookie &cookie : cookies)
            jar.insertCookie(cookie);
        jar.saveCookies();
        const QByteArray value = QSettings().value(SaveNetworkCookieJar::cookiesKey).toByteArray();
        QCOMPARE(value, cookies[0].toRawForm() + '\n' + cookies[1].toRawForm() + '\n'
                 + cookies[2].toRawForm() + '\n');
    }
    SaveNetworkCookieJar loaded(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
    QCOMPARE(stored(), cookies);
    QCOMPARE(loaded.cookiesForUrl(QUrl("http://www.zintello.test/html/page.html")).size(), 3);
}

void tst_SaveNetworkCookieJar::dropsStoredLinesThatDoNotParse()
{
    QSettings().setValue(SaveNetworkCookieJar::cookiesKey, QByteArray("a=1; path=/\n\n=\n;;;\nb=2; path=/\n"));
    {
        SaveNetworkCookieJar jar(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
    }
    const QList<QNetworkCookie> cookies = stored();
    QCOMPARE(cookies.size(), 2);
    QCOMPARE(cookies[0].name(), QByteArray("a"));
    QCOMPARE(cookies[1].name(), QByteArray("b"));
}

void tst_SaveNetworkCookieJar::emptyStoreGivesOnlyTheStartCookieToTheDesktopProgram()
{
    {
        SaveNetworkCookieJar jar(nullptr);
    }
    const QList<QNetworkCookie> cookies = stored();
    QCOMPARE(cookies.size(), 1);
    QCOMPARE(cookies[0].name(), QByteArray("background_reset"));
    QCOMPARE(cookies[0].value(), QByteArray("1"));
    QCOMPARE(cookies[0].domain(), QString());
    QVERIFY(cookies[0].isSessionCookie());
    QVERIFY(!cookies[0].isSecure());
    QVERIFY(!cookies[0].isHttpOnly());
    // The URL path of the html directory beside the program, so that the local
    // pages get it.
    const QString html = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/html/").path();
    QCOMPARE(cookies[0].path(), html);
    QVERIFY(html.startsWith("/") && !html.startsWith("//"));
}

void tst_SaveNetworkCookieJar::everyStartKeepsOneStartCookie()
{
    for (int start = 1; start <= 3; ++start) {
        SaveNetworkCookieJar jar(nullptr);
        setCookieFromPage(&jar, QStringLiteral("seen=%1; path=/").arg(start));
    }
    QStringList names;
    const QList<QNetworkCookie> cookies = stored();
    for (const QNetworkCookie &cookie : cookies)
        names.append(QString::fromLatin1(cookie.toRawForm(QNetworkCookie::NameAndValueOnly)));
    names.sort();
    QCOMPARE(names, QStringList({"background_reset=1", "seen=3"}));
}

void tst_SaveNetworkCookieJar::pathsComeBackAsTheyWere_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "/opt/zintello/html/";
    QTest::newRow("Windows drive") << "/C:/Programs/App/html/";
    QTest::newRow("space") << "/home/anna/My Programs/html/";
    QTest::newRow("semicolon") << "/home/anna/a;b/html/";
    QTest::newRow("letters beyond Latin-1") << QString::fromUtf8("/home/jürgen/Grüße 中文/html/");
    QTest::newRow("percent sign") << "/home/anna/100%/html/";
}

void tst_SaveNetworkCookieJar::pathsComeBackAsTheyWere()
{
    QFETCH(QString, path);
    QNetworkCookie cookie("seen", "1");
    cookie.setPath(path);
    {
        SaveNetworkCookieJar jar(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
        jar.insertCookie(cookie);
    }
    // One line, and the plain paths stored as they are, for older versions.
    const QByteArray value = QSettings().value(SaveNetworkCookieJar::cookiesKey).toByteArray();
    QCOMPARE(value.count('\n'), 1);
    if (path.startsWith("/opt") || path.startsWith("/C:"))
        QVERIFY(value.contains("path=" + path.toUtf8()));
    SaveNetworkCookieJar loaded(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
    const QList<QNetworkCookie> cookies = loaded.cookiesForUrl(QUrl::fromLocalFile(path + "page.html"));
    QCOMPARE(cookies.size(), 1);
    QCOMPARE(cookies.first().path(), path);
}

void tst_SaveNetworkCookieJar::signalsForCookiesThatPagesSet_data()
{
    QTest::addColumn<QString>("cookie");
    QTest::addColumn<QStringList>("expectedSignals");

    const QStringList design{"cookiesChanges", "changedToDesign(3)"};
    QTest::newRow("design") << "design=3" << design;
    QTest::newRow("language") << "language=de" << QStringList{"cookiesChanges"};
    QTest::newRow("Design: names are case-sensitive") << "Design=3" << QStringList();
    QTest::newRow("designer: whole names only") << "designer=3" << QStringList();
    QTest::newRow("a deletion still reports its value")
            << "design=3; expires=Thu, 01 Jan 1970 00:00:00 GMT" << design;
    QTest::newRow("the value is not looked at") << "design= 7x " << QStringList{"cookiesChanges", "changedToDesign(7x)"};
    QTest::newRow("other cookies") << "seen=1" << QStringList();
}

void tst_SaveNetworkCookieJar::signalsForCookiesThatPagesSet()
{
    QFETCH(QString, cookie);
    QFETCH(QStringList, expectedSignals);

    auto *jar = new SaveNetworkCookieJar(nullptr);
    SignalRecorder recorder(jar);
    setCookieFromPage(jar, cookie);
    QCOMPARE(recorder.signalsSeen, expectedSignals);
    // Receivers run before the cookie is in the jar.
    for (const QString &cookies : qAsConst(recorder.cookiesWhenSignalled))
        QCOMPARE(cookies, QString());
    delete jar;
}

void tst_SaveNetworkCookieJar::onlyTheFirstCookieOfAListCounts()
{
    SaveNetworkCookieJar jar(nullptr);
    SignalRecorder recorder(&jar);
    const QUrl url("http://zintello.test/");
    QVERIFY(jar.setCookiesFromUrl({QNetworkCookie("language", "fr"), QNetworkCookie("design", "4")}, url));
    QCOMPARE(recorder.signalsSeen, QStringList{"cookiesChanges"});
    QCOMPARE(jar.cookiesForUrl(url).size(), 2);

    // The same value again reports again.
    recorder.signalsSeen.clear();
    jar.setCookiesFromUrl({QNetworkCookie("design", "4")}, url);
    jar.setCookiesFromUrl({QNetworkCookie("design", "4")}, url);
    QCOMPARE(recorder.signalsSeen, (QStringList{"cookiesChanges", "changedToDesign(4)",
                                                "cookiesChanges", "changedToDesign(4)"}));
}

void tst_SaveNetworkCookieJar::emptyListSignalsNothing()
{
    SaveNetworkCookieJar jar(nullptr);
    SignalRecorder recorder(&jar);
    QNetworkCookieJar plain;
    const QUrl url("http://zintello.test/");
    QCOMPARE(jar.setCookiesFromUrl({}, url), plain.setCookiesFromUrl({}, url));
    QVERIFY(recorder.signalsSeen.isEmpty());
}

void tst_SaveNetworkCookieJar::screensaverJarOnlyKeepsCookies()
{
    auto *jar = new SaveNetworkCookieJar(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
    QVERIFY(jar->cookiesForUrl(QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/html/index.html")).isEmpty());
    SignalRecorder recorder(jar);
    setCookieFromPage(jar, "design=3");
    QVERIFY(recorder.signalsSeen.isEmpty());
    delete jar;
    QCOMPARE(stored().size(), 1);
    QCOMPARE(stored().first().name(), QByteArray("design"));
}

void tst_SaveNetworkCookieJar::aJarThatChangedNothingWritesNothing()
{
    QSettings().setValue(SaveNetworkCookieJar::cookiesKey, QByteArray("design=2; path=/\n"));
    auto *showJar = new SaveNetworkCookieJar(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
    // Another process stores a choice meanwhile.
    QSettings().setValue(SaveNetworkCookieJar::cookiesKey, QByteArray("design=4; path=/\n"));
    QVERIFY(showJar->saveCookies());
    delete showJar;
    QCOMPARE(stored().size(), 1);
    QCOMPARE(stored().first().value(), QByteArray("4"));
}

void tst_SaveNetworkCookieJar::changesAreStoredWithinAboutASecond()
{
    auto *jar = new SaveNetworkCookieJar(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
    setCookieFromPage(jar, "design=3");
    setCookieFromPage(jar, "language=fr");
    QVERIFY(stored().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(stored().size(), 2, 3000);
    delete jar;
}

void tst_SaveNetworkCookieJar::keepsTheNewestCookiesWithinTheBounds_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("valueSize");
    QTest::addColumn<int>("kept");

    const int perCookie = QByteArray("c0000=; path=/").size();
    QTest::newRow("a few") << 5 << 1 << 5;
    QTest::newRow("more than the count") << 1000 << 1 << int(SaveNetworkCookieJar::maxCookies);
    QTest::newRow("more than the bytes") << 100 << 2000 << SaveNetworkCookieJar::maxBytes / (2000 + perCookie);
}

void tst_SaveNetworkCookieJar::keepsTheNewestCookiesWithinTheBounds()
{
    QFETCH(int, count);
    QFETCH(int, valueSize);
    QFETCH(int, kept);
    QByteArray cookies;
    for (int i = 0; i < count; ++i)
        cookies += QString::asprintf("c%04d=", i).toLatin1() + QByteArray(valueSize, 'v') + "; path=/\n";
    QSettings().setValue(SaveNetworkCookieJar::cookiesKey, cookies);

    auto *jar = new SaveNetworkCookieJar(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
    const QUrl storedPage("file:///page.html");
    const QList<QNetworkCookie> loaded = jar->cookiesForUrl(storedPage);
    QCOMPARE(loaded.size(), kept);
    // The newest, in the stored order.
    QCOMPARE(loaded.last().name(), QString::asprintf("c%04d", count - 1).toLatin1());
    QCOMPARE(loaded.first().name(), QString::asprintf("c%04d", count - kept).toLatin1());

    // One more drops the oldest where the jar is full.
    setCookieFromPage(jar, "newest=1");
    const QList<QNetworkCookie> fromPage = jar->cookiesForUrl(QUrl("http://zintello.test/page.html"));
    const QList<QNetworkCookie> left = jar->cookiesForUrl(storedPage);
    QCOMPARE(fromPage.size(), 1);
    QCOMPARE(fromPage.first().name(), QByteArray("newest"));
    QVERIFY(left.size() + 1 <= SaveNetworkCookieJar::maxCookies);
    if (kept == SaveNetworkCookieJar::maxCookies)
        QCOMPARE(left.first().name(), QString::asprintf("c%04d", count - kept + 1).toLatin1());
    delete jar;
}

QTEST_MAIN(tst_SaveNetworkCookieJar)
#include "tst_savenetworkcookiejar.moc"
