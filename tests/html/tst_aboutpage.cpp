// The about page as the settings window shows it: name, version, maker, the
// notices the shipped libraries ask for, in every language; the maker's site
// opens in the browser, the licence texts inside the view.

#include "ExpectedTexts.h"
#include "TestIdentity.h"
#include "WatchedPage.h"
#include "ZintelloVersion.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

class tst_AboutPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void namesProductVersionMakerAndLicences_data();
    void namesProductVersionMakerAndLicences();
    void linksBehaveAsInTheSettingsWindow_data();
    void linksBehaveAsInTheSettingsWindow();
    void everyTextExistsInEveryLanguage();
    void cleanup();
};

void tst_AboutPage::initTestCase()
{
    TestIdentity::desktopProgram();
}

void tst_AboutPage::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void tst_AboutPage::namesProductVersionMakerAndLicences_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("noticeStart");
    QTest::newRow("en") << "en" << "Version " ZINTELLO_VERSION << "ZINTELLO is built with the Qt toolkit";
    QTest::newRow("de") << "de" << "Version " ZINTELLO_VERSION << "ZINTELLO ist mit dem Qt-Toolkit gebaut";
    QTest::newRow("fr") << "fr" << "Version " ZINTELLO_VERSION << "ZINTELLO est construit avec la boîte à outils Qt";
    QTest::newRow("es") << "es" << "Versión " ZINTELLO_VERSION << "ZINTELLO está hecho con el kit de herramientas Qt";
}

void tst_AboutPage::namesProductVersionMakerAndLicences()
{
    QFETCH(QString, language);
    QFETCH(QString, version);
    QFETCH(QString, noticeStart);
    QLocale::setDefault(QLocale(language));
    WatchedPage page;
    QVERIFY(page.loadPage("about.html", QSize(551, 561)));
    QVERIFY2(page.consoleMessages.isEmpty(), qPrintable(page.consoleMessages.join('\n')));

    QCOMPARE(page.text("h1"), QStringLiteral("ZINTELLO"));
    QCOMPARE(page.text("#version"), version);
    QCOMPARE(page.element("#maker").attribute("href"), QStringLiteral("http://www.morvaleen.de/"));
    QCOMPARE(page.text("#maker"), QStringLiteral("Morvaleen"));
    const QString notices = page.text("#notices");
    QVERIFY2(notices.contains(noticeStart), qPrintable(notices));
    for (const char *named : { "QtWebKit", "LGPL", "https://download.qt.io/", "https://github.com/qtwebkit/qtwebkit" })
        QVERIFY2(notices.contains(named), qPrintable(named));
    // Nothing is left untranslated or empty.
    const QWebElementCollection texts = page.mainFrame()->findAllElements("[data-text]");
    QVERIFY(texts.count() >= 8);
    for (const QWebElement &text : texts)
        QVERIFY2(!text.toPlainText().trimmed().isEmpty(), qPrintable(text.attribute("data-text")));
    // The logo is there.
    QVERIFY(page.element("#logo").evaluateJavaScript("this.complete && this.naturalWidth > 0").toBool());
}

void tst_AboutPage::linksBehaveAsInTheSettingsWindow_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("licenceTitle");
    QTest::newRow("LGPL 3") << "#lgpl-3" << "GNU LESSER GENERAL PUBLIC LICENSE";
    QTest::newRow("GPL 3") << "#gpl-3" << "GNU GENERAL PUBLIC LICENSE";
    QTest::newRow("LGPL 2.1") << "#lgpl-2\\.1" << "GNU LESSER GENERAL PUBLIC LICENSE";
}

void tst_AboutPage::linksBehaveAsInTheSettingsWindow()
{
    QFETCH(QString, link);
    QFETCH(QString, licenceTitle);
    QWebView view;
    auto *page = new WatchedPage(&view);
    view.setPage(page);
    // The settings window hands every link that is not local to the browser.
    page->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    view.resize(551, 561);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(page->loadPage("about.html", view.size()));
    const QUrl about = page->mainFrame()->url();

    QSignalSpy delegated(page, &QWebPage::linkClicked);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, page->element("#maker").geometry().center());
    QTRY_COMPARE(delegated.count(), 1);
    QCOMPARE(delegated.first().first().toUrl(), QUrl("http://www.morvaleen.de/"));
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, page->element("#visit").geometry().center());
    QTRY_COMPARE(delegated.count(), 2);
    QCOMPARE(delegated.last().first().toUrl(), QUrl("http://www.morvaleen.de/"));
    QCOMPARE(page->mainFrame()->url(), about);

    // A licence opens inside the view, with its text, and leads back.
    const QWebElement licence = page->element(link);
    QVERIFY(!licence.isNull());
    QSignalSpy loaded(page, &QWebPage::loadFinished);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, licence.geometry().center());
    QTRY_VERIFY(page->mainFrame()->url().fileName() == "licence.html" && !loaded.isEmpty());
    QCOMPARE(delegated.count(), 2);
    QTRY_VERIFY(page->text("#text").contains(licenceTitle));
    QVERIFY(page->text("#text").size() > 5000);
    QVERIFY(page->text("#text").contains("Free Software Foundation"));
    QVERIFY2(page->consoleMessages.isEmpty(), qPrintable(page->consoleMessages.join('\n')));
    loaded.clear();
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, page->element("#back").geometry().center());
    QTRY_COMPARE(page->mainFrame()->url(), about);
}

void tst_AboutPage::everyTextExistsInEveryLanguage()
{
    // The pages share one table of texts; no language may lack one of English's.
    WatchedPage page;
    QVERIFY(page.loadPage("about.html", QSize(551, 561)));
    const QStringList languages = page.evaluate("Object.keys(ZintelloTexts)").toStringList();
    QCOMPARE(languages, ExpectedTexts::languages());
    const QStringList keys = page.evaluate("Object.keys(ZintelloTexts.en)").toStringList();
    QVERIFY(keys.size() > 25);
    for (const QString &language : languages) {
        for (const QString &key : keys) {
            const QString type = page.evaluate(QStringLiteral("typeof ZintelloTexts['%1']['%2']").arg(language, key)).toString();
            QVERIFY2(type == page.evaluate(QStringLiteral("typeof ZintelloTexts.en['%1']").arg(key)).toString(),
                     qPrintable(language + ": " + key));
        }
        QCOMPARE(page.evaluate(QStringLiteral("Object.keys(ZintelloTexts['%1']).length").arg(language)).toInt(), keys.size());
        QCOMPARE(page.evaluate(QStringLiteral("ZintelloTexts['%1'].weekdays.length").arg(language)).toInt(), 7);
        QCOMPARE(page.evaluate(QStringLiteral("ZintelloTexts['%1'].months.length").arg(language)).toInt(), 12);
    }
}

QTEST_MAIN(tst_AboutPage)
#include "tst_aboutpage.moc"
