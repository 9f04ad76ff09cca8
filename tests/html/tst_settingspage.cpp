// The settings page in the real engine with the desktop program's real cookie
// jar: a click on a preview or a language is a cookie the program hears of,
// the choice is marked, survives a restart, and reaches the start page.

#include "ExpectedTexts.h"
#include "SaveNetworkCookieJar.h"
#include "TestIdentity.h"
#include "WatchedPage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QNetworkCookie>
#include <QSettings>
#include <QSignalSpy>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

#include <memory>

class tst_SettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void fitsTheWindowsThatShowIt_data();
    void fitsTheWindowsThatShowIt();
    void clickingAPreviewChoosesTheDesign_data();
    void clickingAPreviewChoosesTheDesign();
    void theChoiceSurvivesARestart();
    void choosingALanguageChangesTheStartPage_data();
    void choosingALanguageChangesTheStartPage();

private:
    struct Window {
        std::unique_ptr<SaveNetworkCookieJar> jar;
        std::unique_ptr<QWebView> view;
        WatchedPage *page = nullptr;
    };
    // The settings page in a view of the window's size, with the jar of the
    // program that shows it.
    static void openSettings(Window &window, const QSize &size = QSize(538, 561),
                             SaveNetworkCookieJar::Program program = SaveNetworkCookieJar::DesktopProgram);
    static void click(Window &window, const QString &selector);
    static QList<QNetworkCookie> cookiesNamed(SaveNetworkCookieJar *jar, const QByteArray &name);
    static QStringList chosen(WatchedPage *page, const QString &selector);
};

void tst_SettingsPage::initTestCase()
{
    TestIdentity::desktopProgram();
    QLocale::setDefault(QLocale("en_GB"));
}

void tst_SettingsPage::init()
{
    QSettings().clear();
}

void tst_SettingsPage::openSettings(Window &window, const QSize &size, SaveNetworkCookieJar::Program program)
{
    if (!window.jar)
        window.jar.reset(new SaveNetworkCookieJar(nullptr, program));
    window.view.reset(new QWebView);
    window.page = new WatchedPage(window.view.get());
    window.view->setPage(window.page);
    window.page->useCookieJar(window.jar.get());
    window.view->resize(size);
    window.view->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.view.get()));
    QVERIFY(window.page->loadPage("settings.html", size));
    QVERIFY2(window.page->consoleMessages.isEmpty(), qPrintable(window.page->consoleMessages.join('\n')));
}

void tst_SettingsPage::click(Window &window, const QString &selector)
{
    const QWebElement target = window.page->element(selector);
    QVERIFY2(!target.isNull(), qPrintable(selector));
    const QRect box = target.geometry().translated(-window.page->mainFrame()->scrollPosition());
    QVERIFY2(window.view->rect().contains(box), qPrintable(selector + " is not in sight"));
    QTest::mouseClick(window.view.get(), Qt::LeftButton, Qt::NoModifier, box.center());
}

QList<QNetworkCookie> tst_SettingsPage::cookiesNamed(SaveNetworkCookieJar *jar, const QByteArray &name)
{
    QList<QNetworkCookie> found;
    const QList<QNetworkCookie> cookies = jar->cookiesForUrl(QUrl::fromLocalFile(WatchedPage::pagePath("index.html")));
    for (const QNetworkCookie &cookie : cookies) {
        if (cookie.name() == name)
            found.append(cookie);
    }
    return found;
}

QStringList tst_SettingsPage::chosen(WatchedPage *page, const QString &selector)
{
    QStringList ids;
    const QWebElementCollection items = page->mainFrame()->findAllElements(selector + ".chosen");
    for (const QWebElement &item : items)
        ids.append(item.attribute("id"));
    return ids;
}

void tst_SettingsPage::fitsTheWindowsThatShowIt_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("screensaver");
    for (const QString &language : ExpectedTexts::languages()) {
        QTest::addRow("settings window, %s", qPrintable(language)) << QSize(538, 561) << language << false;
        QTest::addRow("screensaver dialog, %s", qPrintable(language)) << QSize(531, 581) << language << true;
    }
}

void tst_SettingsPage::fitsTheWindowsThatShowIt()
{
    QFETCH(QSize, size);
    QFETCH(QString, language);
    QFETCH(bool, screensaver);
    QLocale::setDefault(QLocale(language));
    Window window;
    openSettings(window, size, screensaver ? SaveNetworkCookieJar::ScreenSaverProgram
                                           : SaveNetworkCookieJar::DesktopProgram);
    QLocale::setDefault(QLocale("en_GB"));
    QCOMPARE(window.page->evaluate("document.documentElement.lang").toString(), language);

    // Everything to choose from is in sight without scrolling.
    const QSize contents = window.page->mainFrame()->contentsSize();
    QVERIFY2(contents.width() <= size.width() && contents.height() <= size.height(),
             qPrintable(QStringLiteral("%1x%2").arg(contents.width()).arg(contents.height())));
    const QWebElementCollection choices = window.page->mainFrame()->findAllElements(".card, .language");
    QCOMPARE(choices.count(), 9 + 4);
    for (const QWebElement &choice : choices)
        QVERIFY2(QRect(QPoint(0, 0), size).contains(choice.geometry()), qPrintable(choice.attribute("id")));
    // Every design has its name, not cut off.
    for (int design = 1; design <= 9; ++design) {
        const QString name = QStringLiteral("#design%1 .name").arg(design);
        QVERIFY(!window.page->text(name).isEmpty());
        QVERIFY2(window.page->element(name).evaluateJavaScript("this.scrollWidth <= this.clientWidth").toBool(),
                 qPrintable(window.page->text(name)));
    }
    QCOMPARE(window.page->text(".intro"), ExpectedTexts::designIntro(language, screensaver));

    // Whichever design is chosen, its badge leaves the preview's clock in sight.
    window.page->evaluate("var cards = document.querySelectorAll('.card');"
                          "for (var i = 0; i < cards.length; ++i) cards[i].className += ' chosen';"
                          "document.body.offsetHeight;");   // lays the page out again
    for (int design = 1; design <= 9; ++design) {
        const QRect badge = window.page->element(QStringLiteral("#design%1 .badge").arg(design)).geometry();
        const QRect clock = window.page->element(QStringLiteral("#design%1 .mini").arg(design)).geometry();
        QVERIFY2(!badge.isEmpty() && !clock.isEmpty(), qPrintable(QStringLiteral("%1 %2 %3 %4 / %5 %6 %7 %8").arg(badge.x()).arg(badge.y()).arg(badge.width()).arg(badge.height()).arg(clock.x()).arg(clock.y()).arg(clock.width()).arg(clock.height())));
        QVERIFY2(!badge.intersects(clock), qPrintable(QStringLiteral("design %1").arg(design)));
    }
}

void tst_SettingsPage::clickingAPreviewChoosesTheDesign_data()
{
    QTest::addColumn<int>("design");
    for (int design = 1; design <= 9; ++design)
        QTest::addRow("design %d", design) << design;
}

void tst_SettingsPage::clickingAPreviewChoosesTheDesign()
{
    QFETCH(int, design);
    Window window;
    openSettings(window);
    // Before any choice the program's default design is marked.
    QCOMPARE(chosen(window.page, ".card"), QStringList { "design9" });

    QSignalSpy changes(window.jar.get(), &SaveNetworkCookieJar::cookiesChanges);
    QSignalSpy designs(window.jar.get(), &SaveNetworkCookieJar::changedToDesign);
    click(window, QStringLiteral("#design%1").arg(design));

    QCOMPARE(designs.count(), 1);
    QCOMPARE(designs.first().first().toString(), QString::number(design));
    QCOMPARE(changes.count(), 1);
    const QList<QNetworkCookie> stored = cookiesNamed(window.jar.get(), "design");
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first().value(), QByteArray::number(design));
    // It reaches every page below html/ and lasts for years.
    QCOMPARE(stored.first().path(), QStringLiteral("/"));
    QVERIFY(stored.first().expirationDate() > QDateTime::currentDateTimeUtc().addYears(5));
    QCOMPARE(chosen(window.page, ".card"), QStringList { QStringLiteral("design%1").arg(design) });
    QVERIFY2(window.page->consoleMessages.isEmpty(), qPrintable(window.page->consoleMessages.join('\n')));
}

void tst_SettingsPage::theChoiceSurvivesARestart()
{
    {
        Window window;
        openSettings(window);
        click(window, "#design4");
        click(window, "#language-fr");
        window.view.reset();
        window.jar->saveCookies();
    }
    // The next start's jar loads what was stored and adds its start cookie.
    Window window;
    openSettings(window);
    QCOMPARE(chosen(window.page, ".card"), QStringList { "design4" });
    QCOMPARE(chosen(window.page, ".language"), QStringList { "language-fr" });

    WatchedPage start;
    start.makeTransparent();
    start.useCookieJar(window.jar.get());
    QVERIFY(start.loadPage("index.html", QSize(1280, 800)));
    QCOMPARE(start.element("#layer").attribute("data-design"), QStringLiteral("4"));
    QVERIFY(ExpectedTexts::greetings("fr").contains(start.text("#greeting")));
}

void tst_SettingsPage::choosingALanguageChangesTheStartPage_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("language");
    QTest::newRow("English to German") << "en" << "de";
    QTest::newRow("German to French") << "de" << "fr";
    QTest::newRow("French to Spanish") << "fr" << "es";
    QTest::newRow("Spanish to English") << "es" << "en";
}

void tst_SettingsPage::choosingALanguageChangesTheStartPage()
{
    QFETCH(QString, before);
    QFETCH(QString, language);
    Window window;
    openSettings(window);
    click(window, "#language-" + before);

    // The start page as the desktop shows it, in the language chosen before.
    WatchedPage start;
    start.makeTransparent();
    start.useCookieJar(window.jar.get());
    QVERIFY(start.loadPage("index.html", QSize(1280, 800)));
    const QString greetingBefore = start.text("#greeting");
    const QString dateBefore = start.text("#date");
    QVERIFY(ExpectedTexts::greetings(before).contains(greetingBefore));

    QSignalSpy changes(window.jar.get(), &SaveNetworkCookieJar::cookiesChanges);
    QSignalSpy designs(window.jar.get(), &SaveNetworkCookieJar::changedToDesign);
    click(window, "#language-" + language);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(designs.count(), 0);
    const QList<QNetworkCookie> stored = cookiesNamed(window.jar.get(), "language");
    QCOMPARE(stored.size(), 1);
    QCOMPARE(QString::fromLatin1(stored.first().value()), language);
    QCOMPARE(stored.first().path(), QStringLiteral("/"));
    QVERIFY(stored.first().expirationDate() > QDateTime::currentDateTimeUtc().addYears(5));
    // The settings page speaks the new language at once.
    QCOMPARE(window.page->text("h2"), ExpectedTexts::languageHeading(language));
    QCOMPARE(chosen(window.page, ".language"), QStringList { "language-" + language });

    // The program reloads the start page when the cookie changes.
    start.triggerAction(QWebPage::Reload);
    QTRY_COMPARE(start.evaluate("document.documentElement.lang").toString(), language);
    QVERIFY(ExpectedTexts::greetings(language).contains(start.text("#greeting")));
    QVERIFY(start.text("#greeting") != greetingBefore);
    QVERIFY(start.text("#date") != dateBefore);
    QVERIFY2(start.consoleMessages.isEmpty(), qPrintable(start.consoleMessages.join('\n')));
}

QTEST_MAIN(tst_SettingsPage)
#include "tst_settingspage.moc"
