#include "DesktopProgramSettings.h"
#include "OfflineNetwork.h"
#include "ProgramIdentity.h"
#include "QuitRecorder.h"
#include "SaveNetworkCookieJar.h"
#include "ScreenSaverModes.h"
#include "TestIdentity.h"
#include "ZintelloDesktopBackgroundWidget.h"
#include "ZintelloSaverSettings.h"

#include <QDialogButtonBox>
#include <QNetworkCookie>
#include <QPushButton>
#include <QSettings>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

class tst_ZintelloSaverSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void loadsTheLocalSettingsPage();
    void configureMode();
    void cookiesStoredWhicheverWayClosed_data();
    void cookiesStoredWhicheverWayClosed();

private:
    static QWebView *settingsView(QWidget *dialog) { return dialog->findChild<QWebView *>(QStringLiteral("settings")); }
    static bool isLoaded(QWebView *view, const QString &fileName);
    static QString documentCookie(QWebView *view);
    static QSettings *desktopStore();
};

void tst_ZintelloSaverSettings::initTestCase()
{
    TestIdentity::screensaver();
    OfflineNetwork::install();
    // The pages are beside the test program, as they are beside the screensaver.
    QVERIFY(QFile::exists(QCoreApplication::applicationDirPath() + "/html/settings.html"));
}

void tst_ZintelloSaverSettings::init()
{
    QSettings().clear();
    desktopStore()->clear();
}

bool tst_ZintelloSaverSettings::isLoaded(QWebView *view, const QString &fileName)
{
    return view->url() == QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/html/" + fileName)
            && view->page()->mainFrame()->evaluateJavaScript("document.readyState").toString() == "complete";
}

QString tst_ZintelloSaverSettings::documentCookie(QWebView *view)
{
    return view->page()->mainFrame()->evaluateJavaScript("document.cookie").toString();
}

QSettings *tst_ZintelloSaverSettings::desktopStore()
{
    static QSettings store(ProgramIdentity::organisationName(), DesktopProgramSettings::applicationName);
    return &store;
}

void tst_ZintelloSaverSettings::loadsTheLocalSettingsPage()
{
    ZintelloSaverSettings dialog;
    QWebView *view = settingsView(&dialog);
    // The form's remote address is replaced by the local page, with no network.
    QTRY_VERIFY_WITH_TIMEOUT(isLoaded(view, "settings.html"), 20000);
    QVERIFY(view->page()->mainFrame()->evaluateJavaScript("document.getElementById('design4') !== null").toBool());
}

void tst_ZintelloSaverSettings::configureMode()
{
    QuitRecorder application;
    QPointer<ZintelloSaverSettings> dialog = ScreenSaverModes::configure(application.quit());
    QVERIFY(dialog);
    QVERIFY(!dialog->parent());
    QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QVERIFY(QTest::qWaitForWindowExposed(dialog.data()));
    QCOMPARE(dialog->size(), QSize(530, 634));

    dialog->close();
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(application.quitCalls, 1);
}

void tst_ZintelloSaverSettings::cookiesStoredWhicheverWayClosed_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "ok";
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Escape key") << "escape";
    QTest::newRow("close button") << "close";
}

void tst_ZintelloSaverSettings::cookiesStoredWhicheverWayClosed()
{
    QFETCH(QString, how);

    const QByteArray desktopCookies = "desktoponly=1; path=/\n";
    desktopStore()->setValue(SaveNetworkCookieJar::cookiesKey, desktopCookies);
    desktopStore()->sync();

    QuitRecorder application;
    QPointer<ZintelloSaverSettings> dialog = ScreenSaverModes::configure(application.quit());
    QWebView *view = settingsView(dialog);
    QTRY_VERIFY_WITH_TIMEOUT(isLoaded(view, "settings.html"), 20000);
    QVERIFY2(!documentCookie(view).contains("desktoponly"), qPrintable(documentCookie(view)));

    view->page()->mainFrame()->evaluateJavaScript("document.cookie='design=4; path=/; max-age=9999'");
    view->page()->mainFrame()->evaluateJavaScript("document.cookie='visited=yes; path=/'");
    QVERIFY2(documentCookie(view).contains("design=4"), qPrintable(documentCookie(view)));

    auto *buttonBox = dialog->findChild<QDialogButtonBox *>();
    if (how == "ok")
        QTest::mouseClick(buttonBox->button(QDialogButtonBox::Ok), Qt::LeftButton);
    else if (how == "cancel")
        QTest::mouseClick(buttonBox->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    else if (how == "escape")
        QTest::keyClick(dialog.data(), Qt::Key_Escape);
    else
        dialog->close();
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(application.quitCalls, 1);

    const QList<QNetworkCookie> stored = QNetworkCookie::parseCookies(QSettings().value(SaveNetworkCookieJar::cookiesKey).toByteArray());
    QStringList names;
    for (const QNetworkCookie &cookie : stored) {
        names << QString::fromLatin1(cookie.name());
        if (cookie.name() == "design")
            QCOMPARE(cookie.value(), QByteArray("4"));
    }
    names.sort();
    // The session cookie is stored too; the desktop program's cookie is not.
    QCOMPARE(names, QStringList({"design", "visited"}));
    QCOMPARE(desktopStore()->value(SaveNetworkCookieJar::cookiesKey).toByteArray(), desktopCookies);

    // The show mode's page window reads the same store.
    ZintelloDesktopBackgroundWidget pageWindow(nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(isLoaded(pageWindow.webView, "index.html"), 20000);
    const QString seen = documentCookie(pageWindow.webView);
    QVERIFY2(seen.contains("design=4") && seen.contains("visited=yes") && !seen.contains("desktoponly"),
             qPrintable(seen));
}

QTEST_MAIN(tst_ZintelloSaverSettings)
#include "tst_zintellosaversettings.moc"
