// The start page in the real engine, as the desktop background and the
// screensaver show it: every design in every language, transparency, the
// screensaver's own wallpaper, the choice of language, and quiet between minutes
// and at the minute.

#include "ExpectedTexts.h"
#include "SaveNetworkCookieJar.h"
#include "TestIdentity.h"
#include "WatchedPage.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QNetworkCookie>
#include <QSettings>
#include <QSignalSpy>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

#include <memory>

class tst_StartPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void scriptErrorsAreSeen();
    void rendersEveryDesignAndLanguage_data();
    void rendersEveryDesignAndLanguage();
    void bodyStaysTransparentOnTheDesktop_data();
    void bodyStaysTransparentOnTheDesktop();
    void paintsTheWallpaperWhenShownAlone_data();
    void paintsTheWallpaperWhenShownAlone();
    void unknownDesignGivesTheDefault_data();
    void unknownDesignGivesTheDefault();
    void followsTheSystemLanguageUntilChosen_data();
    void followsTheSystemLanguageUntilChosen();
    void staysIdleBetweenMinutes();
    void paintsANewMinuteOnce();
    void startCookieDoesNotPileUp();
    void cleanup();

private:
    // A desktop program's jar (with its start cookie) holding the given choices.
    std::unique_ptr<SaveNetworkCookieJar> desktopJar(const QList<QNetworkCookie> &choices = {});
    static QNetworkCookie choice(const QByteArray &name, const QByteArray &value);
    static QRect layerRect(WatchedPage &page);
    // Repaints the page asks for during the given time; -1 when a new minute
    // began meanwhile, when the clock rightly changes.
    static int repaintsWithin(WatchedPage &page, int milliseconds);
    // Paints of the background's view after its page is shown the next minute;
    // -1 when a real minute began meanwhile.
    static int paintsOfTheNextMinute(ZintelloDesktopBackgroundWidget &background);
};

namespace {
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
}

void tst_StartPage::initTestCase()
{
    TestIdentity::desktopProgram();
    QVERIFY2(QFile::exists(WatchedPage::pagePath("index.html")), qPrintable(WatchedPage::pagePath("index.html")));
}

void tst_StartPage::init()
{
    QSettings().clear();
}

void tst_StartPage::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

std::unique_ptr<SaveNetworkCookieJar> tst_StartPage::desktopJar(const QList<QNetworkCookie> &choices)
{
    std::unique_ptr<SaveNetworkCookieJar> jar(new SaveNetworkCookieJar(nullptr, SaveNetworkCookieJar::DesktopProgram));
    if (!choices.isEmpty())
        jar->setCookiesFromUrl(choices, QUrl::fromLocalFile(WatchedPage::pagePath("settings.html")));
    return jar;
}

QNetworkCookie tst_StartPage::choice(const QByteArray &name, const QByteArray &value)
{
    QNetworkCookie cookie(name, value);
    cookie.setPath("/");
    cookie.setExpirationDate(QDateTime::currentDateTimeUtc().addYears(10));
    return cookie;
}

QRect tst_StartPage::layerRect(WatchedPage &page)
{
    const QVariantMap box = page.evaluate(
                "(function () { var r = document.getElementById('layer').getBoundingClientRect();"
                " return { x: r.left, y: r.top, w: r.width, h: r.height }; })()").toMap();
    return QRectF(box.value("x").toReal(), box.value("y").toReal(),
                  box.value("w").toReal(), box.value("h").toReal()).toAlignedRect();
}

void tst_StartPage::scriptErrorsAreSeen()
{
    // Guards the other tests: a script error does reach the watched console.
    WatchedPage page;
    QVERIFY(page.loadUrl(QUrl::fromLocalFile(QFINDTESTDATA("fixtures/broken.html")), QSize(400, 300)));
    QCOMPARE(page.consoleMessages.size(), 1);
    QVERIFY2(page.consoleMessages.first().contains("undefinedFunction"), qPrintable(page.consoleMessages.first()));
}

void tst_StartPage::rendersEveryDesignAndLanguage_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QSize>("screen");
    const QList<QPair<QString, QSize>> screens {
        { "wide", QSize(1920, 1080) }, { "5:4", QSize(1280, 1024) }, { "small 4:3", QSize(1024, 768) } };
    for (int design = 1; design <= 9; ++design) {
        for (const QString &language : ExpectedTexts::languages()) {
            for (const auto &screen : screens) {
                QTest::addRow("design %d, %s, %s", design, qPrintable(language), qPrintable(screen.first))
                        << QString::number(design) << language << screen.second;
            }
        }
    }
}

void tst_StartPage::rendersEveryDesignAndLanguage()
{
    QFETCH(QString, design);
    QFETCH(QString, language);
    QFETCH(QSize, screen);

    auto jar = desktopJar({ choice("design", design.toLatin1()), choice("language", language.toLatin1()) });
    WatchedPage page;
    page.makeTransparent();
    page.useCookieJar(jar.get());
    QVERIFY(page.loadPage("index.html", screen));

    QVERIFY2(page.consoleMessages.isEmpty(), qPrintable(page.consoleMessages.join('\n')));
    QCOMPARE(page.element("#layer").attribute("data-design"), design);
    QCOMPARE(page.evaluate("document.documentElement.lang").toString(), language);
    QVERIFY2(ExpectedTexts::greetings(language).contains(page.text("#greeting")),
             qPrintable(page.text("#greeting")));
    const QString date = page.text("#date");
    bool namesAWeekday = false;
    for (const QString &weekday : ExpectedTexts::weekdays(language))
        namesAWeekday = namesAWeekday || date.contains(weekday);
    QVERIFY2(namesAWeekday, qPrintable(date));
    QVERIFY(page.text("#time").contains(QRegularExpression("^\\d{1,2}:\\d\\d$"))
            || page.element("#dial").styleProperty("display", QWebElement::ComputedStyle) != "none");

    // The whole layer lies on the screen, and it is drawn.
    const QRect layer = layerRect(page);
    QVERIFY2(QRect(QPoint(0, 0), screen).contains(layer),
             qPrintable(QStringLiteral("layer %1,%2 %3x%4").arg(layer.x()).arg(layer.y()).arg(layer.width()).arg(layer.height())));
    const QImage image = page.render();
    int drawn = 0;
    for (int y = layer.top(); y <= layer.bottom(); y += 2) {
        for (int x = layer.left(); x <= layer.right(); x += 2)
            drawn += qAlpha(image.pixel(x, y)) > 128;
    }
    QVERIFY2(drawn > layer.width() * layer.height() / 400, qPrintable(QString::number(drawn)));
}

void tst_StartPage::bodyStaysTransparentOnTheDesktop_data()
{
    QTest::addColumn<QString>("design");
    for (int design = 1; design <= 9; ++design)
        QTest::addRow("design %d", design) << QString::number(design);
}

void tst_StartPage::bodyStaysTransparentOnTheDesktop()
{
    QFETCH(QString, design);
    auto jar = desktopJar({ choice("design", design.toLatin1()) });
    WatchedPage page;
    page.makeTransparent();
    page.useCookieJar(jar.get());
    const QSize screen(1280, 800);
    QVERIFY(page.loadPage("index.html", screen));

    QCOMPARE(page.evaluate("getComputedStyle(document.body).backgroundColor").toString(), QStringLiteral("rgba(0, 0, 0, 0)"));
    QCOMPARE(page.evaluate("getComputedStyle(document.documentElement).backgroundColor").toString(), QStringLiteral("rgba(0, 0, 0, 0)"));
    QCOMPARE(page.element("#backdrop").styleProperty("display", QWebElement::ComputedStyle), QStringLiteral("none"));

    // Outside the live layer (and its shadow) not one pixel is painted.
    const QImage image = page.render();
    const QRect layer = layerRect(page).adjusted(-40, -40, 40, 40);
    int painted = 0;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3)
            painted += !layer.contains(x, y) && qAlpha(image.pixel(x, y)) != 0;
    }
    QCOMPARE(painted, 0);
}

void tst_StartPage::paintsTheWallpaperWhenShownAlone_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QSize>("loadedAt");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("bitmap");
    QTest::newRow("wide screen, design 2") << "2" << QSize(1920, 1080) << QSize(1920, 1080) << "A_design_2.bmp";
    QTest::newRow("5:4 screen, design 7") << "7" << QSize(1280, 1024) << QSize(1280, 1024) << "B_design_7.bmp";
    QTest::newRow("no choice yet") << QString() << QSize(1920, 1080) << QSize(1920, 1080) << "A_design_9.bmp";
    // The screensaver's window is made full screen after the page began to load.
    QTest::newRow("made wide after the load") << "5" << QSize(640, 480) << QSize(1920, 1080) << "A_design_5.bmp";
    QTest::newRow("made 5:4 after the load") << "8" << QSize(1920, 1080) << QSize(1280, 1024) << "B_design_8.bmp";
}

void tst_StartPage::paintsTheWallpaperWhenShownAlone()
{
    QFETCH(QString, design);
    QFETCH(QSize, loadedAt);
    QFETCH(QSize, screen);
    QFETCH(QString, bitmap);

    // The screensaver's jar has no start cookie and its page the default palette.
    TestIdentity::screensaver();
    SaveNetworkCookieJar jar(nullptr, SaveNetworkCookieJar::ScreenSaverProgram);
    TestIdentity::desktopProgram();
    if (!design.isEmpty())
        jar.setCookiesFromUrl({ choice("design", design.toLatin1()) }, QUrl::fromLocalFile(WatchedPage::pagePath("settings.html")));
    WatchedPage page;
    page.useCookieJar(&jar);
    QVERIFY(page.loadPage("index.html", loadedAt));
    page.setViewportSize(screen);
    QVERIFY2(page.consoleMessages.isEmpty(), qPrintable(page.consoleMessages.join('\n')));

    // The bitmap fills the screen pixel for pixel, here where the layer is not.
    const QImage wallpaper(QCoreApplication::applicationDirPath() + "/Wallpapers/" + bitmap);
    QCOMPARE(wallpaper.size(), screen);
    // A grid of probes, leaving out the live layer.
    const QRect layer = layerRect(page).adjusted(-40, -40, 40, 40);
    QList<QPoint> probes;
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 6; ++column) {
            const QPoint probe(5 + column * (screen.width() - 10) / 5, 5 + row * (screen.height() - 10) / 5);
            if (!layer.contains(probe))
                probes.append(probe);
        }
    }
    QVERIFY(probes.size() > 20);
    auto matches = [&] {
        const QImage image = page.render();
        for (const QPoint &probe : probes) {
            const QColor seen = image.pixelColor(probe), expected = wallpaper.pixelColor(probe);
            if (qAbs(seen.red() - expected.red()) > 3 || qAbs(seen.green() - expected.green()) > 3
                    || qAbs(seen.blue() - expected.blue()) > 3 || seen.alpha() != 255)
                return false;
        }
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(matches(), 15000);
}

void tst_StartPage::unknownDesignGivesTheDefault_data()
{
    QTest::addColumn<QByteArray>("cookie");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no choice") << QByteArray() << "9";
    QTest::newRow("design 3") << QByteArray("3") << "3";
    QTest::newRow("unknown number") << QByteArray("42") << "9";
    QTest::newRow("zero") << QByteArray("0") << "9";
    QTest::newRow("not a number") << QByteArray("abc") << "9";
    QTest::newRow("empty") << QByteArray("") << "9";
    QTest::newRow("markup") << QByteArray("%3Cb%3E") << "9";
}

void tst_StartPage::unknownDesignGivesTheDefault()
{
    QFETCH(QByteArray, cookie);
    QFETCH(QString, shown);
    auto jar = cookie.isNull() ? desktopJar() : desktopJar({ choice("design", cookie) });
    WatchedPage page;
    page.makeTransparent();
    page.useCookieJar(jar.get());
    QVERIFY(page.loadPage("index.html", QSize(1280, 800)));
    QVERIFY2(page.consoleMessages.isEmpty(), qPrintable(page.consoleMessages.join('\n')));
    QCOMPARE(page.element("#layer").attribute("data-design"), shown);
}

void tst_StartPage::followsTheSystemLanguageUntilChosen_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("shown");
    QTest::newRow("German system") << "de_DE" << QString() << "de";
    QTest::newRow("Austrian German system") << "de_AT" << QString() << "de";
    QTest::newRow("French system") << "fr_FR" << QString() << "fr";
    QTest::newRow("Mexican Spanish system") << "es_MX" << QString() << "es";
    QTest::newRow("Japanese system: English") << "ja_JP" << QString() << "en";
    QTest::newRow("German system, French chosen") << "de_DE" << "fr" << "fr";
    QTest::newRow("unknown choice: the system's") << "es_ES" << "xx" << "es";
}

void tst_StartPage::followsTheSystemLanguageUntilChosen()
{
    QFETCH(QString, locale);
    QFETCH(QString, chosen);
    QFETCH(QString, shown);
    QLocale::setDefault(QLocale(locale));
    auto jar = chosen.isEmpty() ? desktopJar() : desktopJar({ choice("language", chosen.toLatin1()) });
    WatchedPage page;
    page.useCookieJar(jar.get());
    QVERIFY(page.loadPage("index.html", QSize(1280, 800)));
    QCOMPARE(page.evaluate("document.documentElement.lang").toString(), shown);
    QVERIFY(ExpectedTexts::greetings(shown).contains(page.text("#greeting")));
}

int tst_StartPage::repaintsWithin(WatchedPage &page, int milliseconds)
{
    const int minute = QTime::currentTime().minute();
    QSignalSpy repaints(&page, &QWebPage::repaintRequested);
    QTest::qWait(milliseconds);
    return QTime::currentTime().minute() == minute ? repaints.count() : -1;
}

void tst_StartPage::staysIdleBetweenMinutes()
{
    // The measurement sees a page that keeps changing...
    WatchedPage ticking;
    QVERIFY(ticking.loadUrl(QUrl::fromLocalFile(QFINDTESTDATA("fixtures/ticking.html")), QSize(400, 300)));
    int seen = repaintsWithin(ticking, 2000);
    if (seen < 0)
        seen = repaintsWithin(ticking, 2000);
    QVERIFY2(seen >= 3, qPrintable(QString::number(seen)));

    // ...and the start page asks for nothing until the minute changes.
    auto jar = desktopJar();
    WatchedPage page;
    page.makeTransparent();
    page.useCookieJar(jar.get());
    QVERIFY(page.loadPage("index.html", QSize(1280, 800)));
    QTest::qWait(500);
    int repaints = repaintsWithin(page, 3000);
    if (repaints < 0)
        repaints = repaintsWithin(page, 3000);
    QCOMPARE(repaints, 0);
}

int tst_StartPage::paintsOfTheNextMinute(ZintelloDesktopBackgroundWidget &background)
{
    const int minute = QTime::currentTime().minute();
    PaintCounter counter;
    background.webView->installEventFilter(&counter);
    // The page's clock a minute ahead, as at its next tick.
    background.webView->page()->mainFrame()->evaluateJavaScript(
                "(function () {"
                "  var RealDate = Date;"
                "  window.Date = function (a, b, c) {"
                "    return arguments.length ? new RealDate(a, b, c) : new RealDate(RealDate.now() + 60000); };"
                "  try { window.dispatchEvent(new Event('clockchange')); } finally { window.Date = RealDate; }"
                "})()");
    QTest::qWait(1000);
    background.webView->removeEventFilter(&counter);
    return QTime::currentTime().minute() == minute ? counter.paints : -1;
}

void tst_StartPage::paintsANewMinuteOnce()
{
    // Each paint of the desktop is a round trip to the X server: the new
    // minute is painted in one go, not once more right after.
    auto jar = desktopJar();
    ZintelloDesktopBackgroundWidget background(jar.get(), nullptr);
    jar->setParent(nullptr);
    QSignalSpy loaded(background.webView, &QWebView::loadFinished);
    background.resize(1280, 800);
    background.show();
    QVERIFY(QTest::qWaitForWindowExposed(&background));
    QVERIFY(loaded.wait(20000));
    QTest::qWait(500);
    const QString before = background.webView->page()->mainFrame()->findFirstElement("#time").toPlainText();

    int paints = paintsOfTheNextMinute(background);
    if (paints < 0)
        paints = paintsOfTheNextMinute(background);
    QCOMPARE(paints, 1);
    QVERIFY(background.webView->page()->mainFrame()->findFirstElement("#time").toPlainText() != before);
}

void tst_StartPage::startCookieDoesNotPileUp()
{
    // Every start's jar appends a start cookie to the stored ones; the page
    // keeps one, and the desktop still counts as the desktop.
    const QUrl startPage = QUrl::fromLocalFile(WatchedPage::pagePath("index.html"));
    for (int start = 1; start <= 4; ++start) {
        auto jar = desktopJar();
        WatchedPage page;
        page.makeTransparent();
        page.useCookieJar(jar.get());
        QVERIFY(page.loadPage("index.html", QSize(1280, 800)));
        QVERIFY2(page.consoleMessages.isEmpty(), qPrintable(page.consoleMessages.join('\n')));
        int startCookies = 0;
        for (const QNetworkCookie &cookie : jar->cookiesForUrl(startPage)) {
            if (cookie.name() == "background_reset") {
                ++startCookies;
                QCOMPARE(cookie.path(), SaveNetworkCookieJar::startCookiePath());
                QCOMPARE(cookie.value(), QByteArray("1"));
            }
        }
        QCOMPARE(startCookies, 1);
        QCOMPARE(page.element("#backdrop").styleProperty("display", QWebElement::ComputedStyle), QStringLiteral("none"));
        jar->saveCookies();
    }
    const QByteArray stored = QSettings().value(SaveNetworkCookieJar::cookiesKey).toByteArray();
    QCOMPARE(stored.count("background_reset="), 1);
}

QTEST_MAIN(tst_StartPage)
#include "tst_startpage.moc"
