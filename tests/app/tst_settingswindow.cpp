#include "DesktopIntegration.h"
#include "ZintelloDesktopBackgroundWidget.h"
#include "ZintelloDesktopSettingsWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebElement>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>
#include <QtTest>

#include <memory>

// The settings window of the desktop program in this process, with the real
// pages, the real web engine and the platform layer of this desktop.
class tst_SettingsWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstStartSwitchesAutostartOnAndAppliesTheDesign();
    void settingsViewAndBackgroundShareTheJarTheAboutViewDoesNot();
    void languageCookieReloadsTheBackgroundOnce();
    void clickingADesignPreviewAppliesItsWallpaper();
    void designCookie_data();
    void designCookie();
    void ownImageOnAndOff();
    void storedOwnImageIsAppliedAgainAtStart();
    void autostartFollowsItsCheckBox();
    void screensaverButtonStartsOneProcessPerClick();
    void closingHidesAndStoresTheCookies();
    void backgroundClosedByTheWindowManager();

private:
    void createWindow();
    QWebView *view(const char *name) const;
    ZintelloDesktopBackgroundWidget *background() const;
    static bool loaded(QWebView *view);
    static void setCookieInPage(QWebView *view, const QString &cookie);
    static QString documentCookies(QWebView *view);
    static QString designBitmap(const QString &number);
    static QString storedCookies();
    // Where the page is transparent, what the background paints behind it
    // (nothing where the windowing system shows the desktop itself).
    bool backdropIsBlack() const;

    // A picture of the user's: a setting naming no file would change nothing.
    QString userPicture(const QString &name, const QColor &color) const;

    std::unique_ptr<ZintelloDesktopSettingsWindow> window;
    QTemporaryDir pictures;
    QString userWallpaper;
};

QString tst_SettingsWindow::userPicture(const QString &name, const QColor &color) const
{
    const QString path = pictures.filePath(name);
    QImage picture(64, 40, QImage::Format_RGB32);
    picture.fill(color);
    picture.save(path, "PNG");
    return path;
}

void tst_SettingsWindow::initTestCase()
{
    QCoreApplication::setOrganizationName("Morvaleen");
    QCoreApplication::setOrganizationDomain("morvaleen.de");
    QCoreApplication::setApplicationName("Zintello");
    QApplication::setQuitOnLastWindowClosed(false);
    // The update check at every construction stays on this machine.
    qputenv("http_proxy", "http://127.0.0.1:9");
    QVERIFY(pictures.isValid());
    userWallpaper = userPicture("user.png", QColor(30, 120, 90));
}

void tst_SettingsWindow::init()
{
    QSettings().clear();
    DesktopIntegration::removeAutostartEntry();
    // The wallpaper the user had before the program ever ran.
    DesktopIntegration::setWallpaper(userWallpaper);
}

void tst_SettingsWindow::cleanup()
{
    window.reset();
}

void tst_SettingsWindow::createWindow()
{
    window = std::make_unique<ZintelloDesktopSettingsWindow>();
    QVERIFY(QTest::qWaitFor([this] { return loaded(view("settings")) && background() && loaded(background()->webView); }, 20000));
}

QWebView *tst_SettingsWindow::view(const char *name) const
{
    return window->findChild<QWebView *>(name);
}

ZintelloDesktopBackgroundWidget *tst_SettingsWindow::background() const
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (auto *background = qobject_cast<ZintelloDesktopBackgroundWidget *>(widget))
            return background;
    }
    return nullptr;
}

bool tst_SettingsWindow::loaded(QWebView *view)
{
    return view->url().isLocalFile()
            && view->page()->mainFrame()->evaluateJavaScript("document.readyState").toString() == "complete";
}

void tst_SettingsWindow::setCookieInPage(QWebView *view, const QString &cookie)
{
    view->page()->mainFrame()->evaluateJavaScript(QStringLiteral("document.cookie = '%1; path=/';").arg(cookie));
}

QString tst_SettingsWindow::documentCookies(QWebView *view)
{
    return view->page()->mainFrame()->evaluateJavaScript("document.cookie").toString();
}

QString tst_SettingsWindow::designBitmap(const QString &number)
{
    // The session's screen is a wide one unless the test run says otherwise.
    const QString kind = qEnvironmentVariable("ZINTELLO_TEST_BITMAP_KIND", "A");
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/Wallpapers/" + kind + "_design_" + number + ".bmp");
}

QString tst_SettingsWindow::storedCookies()
{
    return QString::fromLatin1(QSettings().value("cookies").toByteArray());
}

bool tst_SettingsWindow::backdropIsBlack() const
{
    const auto *backdrop = background()->findChild<QLabel *>("wallpaperBackdrop");
    if (!backdrop)
        return false;
    const QImage painted = backdrop->pixmap(Qt::ReturnByValue).toImage();
    return painted.pixelColor(painted.rect().center()) == QColor(Qt::black);
}

void tst_SettingsWindow::firstStartSwitchesAutostartOnAndAppliesTheDesign()
{
    createWindow();
    QCOMPARE(QSettings().value("firstStart").toBool(), false);
    QCOMPARE(QSettings().value("loginSetting").toInt(), 1);
    QCOMPARE(QSettings().value("wallpaperSetting").toInt(), 0);
    QCOMPARE(QSettings().value("orginalWallpaper").toString(), userWallpaper);
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("9"));
    QVERIFY(QFile::exists(designBitmap("9")));

    QFile entry(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/autostart/zintello.desktop");
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(entry.readAll().contains(QCoreApplication::applicationFilePath().toUtf8()));
    // The check boxes show the stored states, not the first-start calls.
    QVERIFY(window->findChild<QCheckBox *>("login")->isChecked());
    QVERIFY(!window->findChild<QCheckBox *>("wallpaper")->isChecked());
}

void tst_SettingsWindow::settingsViewAndBackgroundShareTheJarTheAboutViewDoesNot()
{
    createWindow();
    QWebView *settings = view("settings");
    QWebView *about = view("aboutView");
    QVERIFY(QTest::qWaitFor([&] { return loaded(about); }, 20000));
    QNetworkCookieJar *jar = settings->page()->networkAccessManager()->cookieJar();
    QCOMPARE(background()->webView->page()->networkAccessManager()->cookieJar(), jar);
    QVERIFY(about->page()->networkAccessManager()->cookieJar() != jar);

    setCookieInPage(settings, "shared=yes");
    QVERIFY(documentCookies(background()->webView).contains("background_reset=1"));
    QVERIFY(documentCookies(background()->webView).contains("shared=yes"));
    QCOMPARE(documentCookies(about), QString());
}

void tst_SettingsWindow::languageCookieReloadsTheBackgroundOnce()
{
    createWindow();
    QSignalSpy reloads(background()->webView, &QWebView::loadStarted);
    setCookieInPage(view("settings"), "language=de");
    QVERIFY(QTest::qWaitFor([&] { return reloads.count() >= 1 && loaded(background()->webView); }, 20000));
    QTest::qWait(500);
    QCOMPARE(reloads.count(), 1);
    // The reloaded page has the new cookie.
    QVERIFY(documentCookies(background()->webView).contains("language=de"));
}

void tst_SettingsWindow::clickingADesignPreviewAppliesItsWallpaper()
{
    createWindow();
    window->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QWebView *settings = view("settings");
    QWebFrame *frame = settings->page()->mainFrame();
    QWebElement preview = frame->findFirstElement("#design4");
    QVERIFY(!preview.isNull());
    preview.evaluateJavaScript("this.scrollIntoView()");
    const QPoint inView = preview.geometry().center() - frame->scrollPosition();
    QTest::mouseClick(settings, Qt::LeftButton, Qt::NoModifier, inView);

    QVERIFY(QTest::qWaitFor([] { return QSettings().value("designNumber").toString() == "4"; }, 10000));
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("4"));
    QVERIFY(QImage(designBitmap("4")).width() >= 1280);
}

void tst_SettingsWindow::designCookie_data()
{
    QTest::addColumn<bool>("ownImage");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("wallpaperChanges");

    QTest::newRow("own image off") << false << "3" << true;
    QTest::newRow("own image on") << true << "3" << false;
    QTest::newRow("a value that climbs out of the directory") << false << "../../../secret" << false;
    QTest::newRow("a value with a separator") << false << "3/../4" << false;
    QTest::newRow("a design without a bitmap") << false << "42" << false;
}

void tst_SettingsWindow::designCookie()
{
    QFETCH(bool, ownImage);
    QFETCH(QString, number);
    QFETCH(bool, wallpaperChanges);

    createWindow();
    window->findChild<QCheckBox *>("wallpaper")->setChecked(ownImage);
    const QString before = DesktopIntegration::currentWallpaper();
    setCookieInPage(view("settings"), "design=" + number);
    QCOMPARE(QSettings().value("designNumber").toString(), number);
    QCOMPARE(DesktopIntegration::currentWallpaper(), wallpaperChanges ? designBitmap(number) : before);
    QVERIFY(!backdropIsBlack());
}

void tst_SettingsWindow::ownImageOnAndOff()
{
    createWindow();
    QCheckBox *ownImage = window->findChild<QCheckBox *>("wallpaper");
    setCookieInPage(view("settings"), "design=4");
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("4"));

    ownImage->setChecked(true);
    QCOMPARE(QSettings().value("wallpaperSetting").toInt(), 2);
    QCOMPARE(DesktopIntegration::currentWallpaper(), userWallpaper);

    // The user picks another wallpaper meanwhile: switching off keeps that one.
    const QString picked = userPicture("holiday.png", QColor(200, 180, 20));
    DesktopIntegration::setWallpaper(picked);
    ownImage->setChecked(false);
    QCOMPARE(QSettings().value("wallpaperSetting").toInt(), 0);
    QCOMPARE(QSettings().value("orginalWallpaper").toString(), picked);
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("4"));

    ownImage->setChecked(true);
    QCOMPARE(DesktopIntegration::currentWallpaper(), picked);
    ownImage->setChecked(false);
    QCOMPARE(QSettings().value("orginalWallpaper").toString(), picked);
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("4"));
}

void tst_SettingsWindow::storedOwnImageIsAppliedAgainAtStart()
{
    QSettings settings;
    settings.setValue("firstStart", false);
    settings.setValue("wallpaperSetting", 2);
    settings.setValue("orginalWallpaper", userWallpaper);
    settings.sync();
    DesktopIntegration::setWallpaper(userPicture("else.png", QColor(90, 10, 10)));
    createWindow();
    QVERIFY(window->findChild<QCheckBox *>("wallpaper")->isChecked());
    QCOMPARE(DesktopIntegration::currentWallpaper(), userWallpaper);
}

void tst_SettingsWindow::autostartFollowsItsCheckBox()
{
    createWindow();
    const QString entry = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/autostart/zintello.desktop";
    QCheckBox *login = window->findChild<QCheckBox *>("login");
    login->setChecked(false);
    QCOMPARE(QSettings().value("loginSetting").toInt(), 0);
    QVERIFY(!QFile::exists(entry));
    login->setChecked(true);
    QCOMPARE(QSettings().value("loginSetting").toInt(), 2);
    QVERIFY(QFile::exists(entry));

    // A later start with autostart on writes the entry again.
    window.reset();
    QFile::remove(entry);
    createWindow();
    QVERIFY(QFile::exists(entry));
}

void tst_SettingsWindow::screensaverButtonStartsOneProcessPerClick()
{
    // A stand-in screensaver that records how it was started.
    const QString saver = QCoreApplication::applicationDirPath() + "/ZINTELLO.scr";
    const QString record = QDir::homePath() + "/saver-starts";
    QFile script(saver);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$#:$1\" >> '%1'\n").arg(record).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);

    createWindow();
    QPushButton *button = window->findChild<QPushButton *>("openSaverSettings");
    QCOMPARE(button->text(), QString("Open Scrennsaver Settings"));
    button->click();
    button->click();
    QFile starts(record);
    const bool recorded = QTest::qWaitFor([&] {
        return starts.open(QIODevice::ReadOnly) && starts.readAll() == "1:/c\n1:/c\n" ? true : (starts.close(), false);
    }, 20000);
    QFile::remove(saver);
    QVERIFY(recorded);
}

void tst_SettingsWindow::closingHidesAndStoresTheCookies()
{
    createWindow();
    window->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    setCookieInPage(view("settings"), "design=2");
    QVERIFY(!storedCookies().contains("design=2"));
    window->close();
    QVERIFY(!window->isVisible());
    QVERIFY(storedCookies().contains("design=2"));
    QVERIFY(background()->isVisible());
}

void tst_SettingsWindow::backgroundClosedByTheWindowManager()
{
    createWindow();
    QPointer<ZintelloDesktopBackgroundWidget> closed = background();
    closed->close();
    QVERIFY(QTest::qWaitFor([&] { return closed.isNull(); }));

    // The settings page still reaches the jar, a design or language change
    // no longer has a background to reload, and the cookies are still stored.
    setCookieInPage(view("settings"), "language=fr");
    setCookieInPage(view("settings"), "design=6");
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("6"));
    window->close();
    QVERIFY(storedCookies().contains("language=fr"));
    QVERIFY(storedCookies().contains("design=6"));
    window.reset();
    QVERIFY(storedCookies().contains("design=6"));
}

QTEST_MAIN(tst_SettingsWindow)
#include "tst_settingswindow.moc"
