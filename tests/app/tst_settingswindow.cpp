#include "DesktopIntegration.h"
#include "DesktopProgramSettings.h"
#include "OfflineNetwork.h"
#include "SaveNetworkCookieJar.h"
#include "TestEnvironment.h"
#include "TestIdentity.h"
#include "ZintelloDesktopBackgroundWidget.h"
#include "ZintelloDesktopSettingsWindow.h"
#include "linux/RootWindowWallpaper.h"
#include "linux/WallpaperRecord.h"

#include <QCheckBox>
#include <QTabBar>
#include <QTabWidget>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebElement>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>
#include <QtTest>

#include <memory>

namespace {

// Where a desktop keeps its wallpaper, read and written with the desktop's own
// tools, as the user's desktop holds it: one entry per key, monitor or screen.
class WallpaperStore
{
public:
    virtual ~WallpaperStore() = default;
    // What the desktop shows now.
    virtual QStringList pictures() const = 0;
    // The user's own pictures, before the program ever ran.
    virtual void seed(const QStringList &paths) = 0;
    // What pictures() gives once one picture is set everywhere.
    virtual QStringList showing(const QString &path) const = 0;
    virtual void reset() = 0;
};

// A gsettings schema's picture keys, values as URIs or plain paths.
class GsettingsStore : public WallpaperStore
{
public:
    GsettingsStore(const QString &schema, const QStringList &keys, bool uris)
        : schema(schema), keys(keys), uris(uris) {}

    QStringList pictures() const override
    {
        QStringList paths;
        for (const QString &key : keys) {
            QString value = TestEnvironment::run("gsettings", {"get", schema, key}).trimmed();
            value = value.mid(1, value.size() - 2);   // the quotes; the test's paths need no escapes
            paths << (uris ? QUrl(value).toLocalFile() : value);
        }
        return paths;
    }

    void seed(const QStringList &paths) override
    {
        for (int i = 0; i < keys.size(); ++i) {
            const QString value = uris ? QUrl::fromLocalFile(paths.at(i)).toString(QUrl::FullyEncoded) : paths.at(i);
            TestEnvironment::run("gsettings", {"set", schema, keys.at(i), "'" + value + "'"});
        }
    }

    QStringList showing(const QString &path) const override
    {
        return QStringList(QVector<QString>(keys.size(), path).toList());
    }

    void reset() override { TestEnvironment::run("gsettings", {"reset-recursively", schema}); }

private:
    QString schema;
    QStringList keys;
    bool uris;
};

// xfdesktop's pictures: a "last-image" property per monitor and workspace.
class XfconfStore : public WallpaperStore
{
public:
    explicit XfconfStore(const QStringList &properties) : properties(properties) {}

    QStringList pictures() const override
    {
        QStringList paths;
        for (const QString &property : properties)
            paths << TestEnvironment::run("xfconf-query", {"-c", "xfce4-desktop", "-p", property}).trimmed();
        return paths;
    }

    void seed(const QStringList &paths) override
    {
        for (int i = 0; i < properties.size(); ++i) {
            TestEnvironment::run("xfconf-query", {"-c", "xfce4-desktop", "-p", properties.at(i), "-n",
                                                  "-t", "string", "-s", paths.at(i)});
        }
    }

    QStringList showing(const QString &path) const override
    {
        return QStringList(QVector<QString>(properties.size(), path).toList());
    }

    void reset() override { TestEnvironment::run("xfconf-query", {"-c", "xfce4-desktop", "-p", "/backdrop", "-r", "-R"}); }

private:
    QStringList properties;
};

// The bare root window: its picture, looked at in three places.
class RootWindowStore : public WallpaperStore
{
public:
    QStringList pictures() const override
    {
        const QImage shown = RootWindowWallpaper::shown(QByteArray());
        QStringList colours;
        for (const QPoint &probe : probes)
            colours << (shown.isNull() ? QString("none") : shown.pixelColor(probe).name());
        return colours;
    }

    void seed(const QStringList &paths) override
    {
        // As another root-setting program leaves it: a picture and no file name.
        if (!paths.isEmpty())
            RootWindowWallpaper::set(QByteArray(), QImage(paths.first()), {});
    }

    QStringList showing(const QString &path) const override
    {
        const QImage picture = DesktopIntegration::wallpaperPicture(path, QSize(1280, 800));
        QStringList colours;
        for (const QPoint &probe : probes)
            colours << picture.pixelColor(probe).name();
        return colours;
    }

    void reset() override
    {
        for (const char *property : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"})
            TestEnvironment::run("xprop", {"-root", "-remove", property});
    }

private:
    const QList<QPoint> probes{QPoint(80, 80), QPoint(640, 700), QPoint(1200, 100)};
};

} // namespace

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
    void pagesLoadWhenTheWindowIsFirstShown();
    void languageCookieReloadsTheBackgroundOnce();
    void clickingADesignPreviewAppliesItsWallpaper();
    void designCookie_data();
    void designCookie();
    void ownImageOnAndOff();
    void storedOwnImageIsAppliedAgainAtStart();
    void autostartFollowsItsCheckBox();
    void screensaverButtonStartsOneProcessPerClick();
    void screensaverStartFollowsItsControlsAndSurvivesARestart();
    void screensaverStartControlsFitTheirTexts();
    void screensaverStartSaysWhenTheSessionCannotTellIdleTime();
    void closingHidesAndStoresTheCookies();
    void backgroundClosedByTheWindowManager();
    void languageChoiceTranslatesTheWindow_data();
    void languageChoiceTranslatesTheWindow();
    void ownPictureComesBack_data();
    void ownPictureComesBack();
    void recordOfAnOlderVersionNamingNoPicture_data();
    void recordOfAnOlderVersionNamingNoPicture();

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
    std::shared_ptr<WallpaperStore> store;
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
    TestIdentity::desktopProgram();
    QApplication::setQuitOnLastWindowClosed(false);
    // The update check at every construction stays on this machine.
    OfflineNetwork::install();
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
    if (store)
        store->reset();
    store.reset();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    qunsetenv("XDG_CURRENT_DESKTOP");
}

void tst_SettingsWindow::createWindow()
{
    window = std::make_unique<ZintelloDesktopSettingsWindow>();
    // Its pages load when it is first shown.
    window->show();
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
    return QString::fromLatin1(QSettings().value(SaveNetworkCookieJar::cookiesKey).toByteArray());
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
    QCOMPARE(QSettings().value(DesktopProgramSettings::firstStartKey).toBool(), false);
    QCOMPARE(QSettings().value(DesktopProgramSettings::loginKey).toInt(), 1);
    QCOMPARE(QSettings().value(DesktopProgramSettings::wallpaperKey).toInt(), 0);
    QCOMPARE(QSettings().value(DesktopProgramSettings::originalWallpaperKey).toString(), userWallpaper);
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

void tst_SettingsWindow::pagesLoadWhenTheWindowIsFirstShown()
{
    window = std::make_unique<ZintelloDesktopSettingsWindow>();
    QVERIFY(QTest::qWaitFor([this] { return background() && loaded(background()->webView); }, 20000));
    QTest::qWait(1000);
    QWebView *settings = view("settings");
    QWebView *about = view("aboutView");
    QVERIFY(settings->url().isEmpty());
    QVERIFY(about->url().isEmpty());

    window->show();
    QVERIFY(QTest::qWaitFor([&] { return loaded(settings) && loaded(about); }, 20000));
    QCOMPARE(settings->url().fileName(), QString("settings.html"));
    QCOMPARE(about->url().fileName(), QString("about.html"));
    // The settings page reaches the shared jar as before: a design chosen in it is applied.
    setCookieInPage(settings, "design=5");
    QCOMPARE(QSettings().value(DesktopProgramSettings::designNumberKey).toString(), QString("5"));
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("5"));

    // Shown again, the pages are the same ones, not loaded a second time.
    settings->page()->mainFrame()->evaluateJavaScript("window.stillTheSamePage = true;");
    QSignalSpy loads(settings, &QWebView::loadStarted);
    window->close();
    window->show();
    QTest::qWait(1000);
    QCOMPARE(loads.count(), 0);
    QVERIFY(settings->page()->mainFrame()->evaluateJavaScript("window.stillTheSamePage").toBool());
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

    QVERIFY(QTest::qWaitFor([] { return QSettings().value(DesktopProgramSettings::designNumberKey).toString() == "4"; }, 10000));
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
    QCOMPARE(QSettings().value(DesktopProgramSettings::designNumberKey).toString(), number);
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
    QCOMPARE(QSettings().value(DesktopProgramSettings::wallpaperKey).toInt(), 2);
    QCOMPARE(DesktopIntegration::currentWallpaper(), userWallpaper);

    // The user picks another wallpaper meanwhile: switching off keeps that one.
    const QString picked = userPicture("holiday.png", QColor(200, 180, 20));
    DesktopIntegration::setWallpaper(picked);
    ownImage->setChecked(false);
    QCOMPARE(QSettings().value(DesktopProgramSettings::wallpaperKey).toInt(), 0);
    QCOMPARE(QSettings().value(DesktopProgramSettings::originalWallpaperKey).toString(), picked);
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("4"));

    ownImage->setChecked(true);
    QCOMPARE(DesktopIntegration::currentWallpaper(), picked);
    ownImage->setChecked(false);
    QCOMPARE(QSettings().value(DesktopProgramSettings::originalWallpaperKey).toString(), picked);
    QCOMPARE(DesktopIntegration::currentWallpaper(), designBitmap("4"));
}

void tst_SettingsWindow::storedOwnImageIsAppliedAgainAtStart()
{
    QSettings settings;
    settings.setValue(DesktopProgramSettings::firstStartKey, false);
    settings.setValue(DesktopProgramSettings::wallpaperKey, 2);
    settings.setValue(DesktopProgramSettings::originalWallpaperKey, userWallpaper);
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
    QCOMPARE(QSettings().value(DesktopProgramSettings::loginKey).toInt(), 0);
    QVERIFY(!QFile::exists(entry));
    login->setChecked(true);
    QCOMPARE(QSettings().value(DesktopProgramSettings::loginKey).toInt(), 2);
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

void tst_SettingsWindow::languageChoiceTranslatesTheWindow_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("aboutTab");
    QTest::newRow("English") << "en" << "ZINTELLO Settings" << "About";
    QTest::newRow("German") << "de" << "ZINTELLO Einstellungen" << QString::fromUtf8("Über");
    QTest::newRow("French") << "fr" << QString::fromUtf8("Réglages de ZINTELLO") << QString::fromUtf8("À propos");
    QTest::newRow("Spanish") << "es" << "Ajustes de ZINTELLO" << "Acerca de";
}

void tst_SettingsWindow::languageChoiceTranslatesTheWindow()
{
    QFETCH(QString, language);
    QFETCH(QString, title);
    QFETCH(QString, aboutTab);
    // Chosen from another language, so that every row sees a change.
    QSettings().setValue(SaveNetworkCookieJar::cookiesKey, QByteArray(language == "fr" ? "language=es; path=/\n" : "language=fr; path=/\n"));
    createWindow();
    setCookieInPage(view("settings"), "language=" + language);

    const auto speaksTheLanguage = [&] {
        auto *tabs = window->findChild<QTabWidget *>();
        return window->windowTitle() == title && tabs->tabText(2) == aboutTab && loaded(view("aboutView"))
               && view("aboutView")->page()->mainFrame()->evaluateJavaScript("document.documentElement.lang").toString() == language;
    };
    QVERIFY(QTest::qWaitFor(speaksTheLanguage, 20000));

    // Every text is whole: each control has the room its text asks for, and the
    // tabs fit their bar.
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *tabs = window->findChild<QTabWidget *>();
    const auto controls = window->findChild<QWidget *>("settingsTab")->findChildren<QAbstractButton *>();
    QVERIFY(controls.size() >= 3);
    for (QAbstractButton *control : controls) {
        QVERIFY2(control->width() >= control->sizeHint().width() && control->height() >= control->sizeHint().height(),
                 qPrintable(control->text()));
        const QPoint farCorner = control->mapTo(tabs, control->rect().bottomRight());
        QVERIFY2(tabs->rect().contains(farCorner), qPrintable(control->text()));
    }
    QVERIFY(tabs->tabBar()->sizeHint().width() <= tabs->width());
    // The screensaver's row stays a row: check box, minutes, unit, side by side.
    const QList<QWidget *> row{window->findChild<QWidget *>("screensaverStart"),
                               window->findChild<QWidget *>("screensaverMinutes"),
                               window->findChild<QWidget *>("screensaverMinutesUnit")};
    for (int i = 1; i < row.size(); ++i)
        QVERIFY2(row.at(i - 1)->geometry().right() < row.at(i)->geometry().left(), qPrintable(row.at(i)->objectName()));
    QVERIFY(row.last()->width() >= row.last()->sizeHint().width());
    QVERIFY(tabs->rect().contains(row.last()->mapTo(tabs, row.last()->rect().bottomRight())));

    // The next start speaks it from the first moment on.
    window.reset();
    createWindow();
    QVERIFY(QTest::qWaitFor(speaksTheLanguage, 20000));
}

void tst_SettingsWindow::screensaverStartFollowsItsControlsAndSurvivesARestart()
{
    createWindow();
    auto *start = window->findChild<QCheckBox *>("screensaverStart");
    auto *minutes = window->findChild<QSpinBox *>("screensaverMinutes");
    QVERIFY(start && minutes);
    // On, after ten minutes, until the user says otherwise; nothing stored yet.
    QVERIFY(start->isChecked());
    QCOMPARE(minutes->value(), 10);
    QVERIFY(!QSettings().contains(DesktopProgramSettings::screensaverMinutesKey));

    minutes->setValue(3);
    QCOMPARE(QSettings().value(DesktopProgramSettings::screensaverMinutesKey).toInt(), 3);
    start->setChecked(false);
    QCOMPARE(QSettings().value(DesktopProgramSettings::screensaverMinutesKey).toInt(), 0);
    QVERIFY(!minutes->isEnabled());

    // Off survives a restart, and ticking it again offers the last number.
    window.reset();
    createWindow();
    start = window->findChild<QCheckBox *>("screensaverStart");
    minutes = window->findChild<QSpinBox *>("screensaverMinutes");
    QVERIFY(!start->isChecked());
    QVERIFY(!minutes->isEnabled());
    QCOMPARE(QSettings().value(DesktopProgramSettings::screensaverMinutesKey).toInt(), 0);
    start->setChecked(true);
    QCOMPARE(QSettings().value(DesktopProgramSettings::screensaverMinutesKey).toInt(), minutes->value());
    minutes->setValue(25);

    window.reset();
    createWindow();
    QVERIFY(window->findChild<QCheckBox *>("screensaverStart")->isChecked());
    QCOMPARE(window->findChild<QSpinBox *>("screensaverMinutes")->value(), 25);
    QCOMPARE(QSettings().value(DesktopProgramSettings::screensaverMinutesKey).toInt(), 25);
}

void tst_SettingsWindow::screensaverStartControlsFitTheirTexts()
{
    createWindow();
    window->show();
    const QList<QWidget *> row{window->findChild<QCheckBox *>("screensaverStart"),
                               window->findChild<QSpinBox *>("screensaverMinutes"),
                               window->findChild<QLabel *>("screensaverMinutesUnit")};
    QWidget *button = window->findChild<QPushButton *>("openSaverSettings");
    for (int i = 0; i < row.size(); ++i) {
        QWidget *control = row.at(i);
        QVERIFY(control);
        // With this platform's font, nothing is cut off.
        QVERIFY2(control->sizeHint().width() <= control->width(), control->objectName().toLatin1());
        QVERIFY2(control->sizeHint().height() <= control->height() + 2, control->objectName().toLatin1());
        QVERIFY(control->geometry().top() >= button->geometry().bottom());
        QVERIFY(control->geometry().right() < control->parentWidget()->width());
        if (i > 0)
            QVERIFY(row.at(i - 1)->geometry().right() < control->geometry().left());
    }
    QLabel *unavailable = window->findChild<QLabel *>("screensaverStartUnavailable");
    QVERIFY(unavailable->heightForWidth(unavailable->width()) <= unavailable->height());
}

void tst_SettingsWindow::screensaverStartSaysWhenTheSessionCannotTellIdleTime()
{
    createWindow();
    window->show();
    // An X session tells idle time; the virtual platform has no session at all.
    const bool sessionTellsIdleTime = QGuiApplication::platformName() == QLatin1String("xcb");
    QCOMPARE(window->findChild<QCheckBox *>("screensaverStart")->isEnabled(), sessionTellsIdleTime);
    QCOMPARE(window->findChild<QSpinBox *>("screensaverMinutes")->isEnabled(), sessionTellsIdleTime);
    QCOMPARE(!window->findChild<QLabel *>("screensaverStartUnavailable")->isHidden(), !sessionTellsIdleTime);
}

Q_DECLARE_METATYPE(std::shared_ptr<WallpaperStore>)

void tst_SettingsWindow::ownPictureComesBack_data()
{
    QTest::addColumn<QString>("currentDesktop");
    QTest::addColumn<std::shared_ptr<WallpaperStore>>("desktopStore");
    QTest::addColumn<int>("userPictures");
    QTest::addColumn<bool>("comesBack");

    const auto gnome = std::make_shared<GsettingsStore>(
        "org.gnome.desktop.background", QStringList{"picture-uri", "picture-uri-dark"}, true);
    const auto cinnamon = std::make_shared<GsettingsStore>(
        "org.cinnamon.desktop.background", QStringList{"picture-uri"}, true);
    const auto mate = std::make_shared<GsettingsStore>(
        "org.mate.background", QStringList{"picture-filename"}, false);
    const auto xfce = std::make_shared<XfconfStore>(QStringList{
        "/backdrop/screen0/monitorscreen/workspace0/last-image",
        "/backdrop/screen0/monitorscreen/workspace1/last-image"});
    const auto root = std::make_shared<RootWindowStore>();

    QTest::newRow("bare X11: a picture that another program left on the root window")
        << "" << std::shared_ptr<WallpaperStore>(root) << 1 << true;
    QTest::newRow("bare X11: a plain root window, nothing to bring back, never black")
        << "" << std::shared_ptr<WallpaperStore>(root) << 0 << false;
    QTest::newRow("GNOME: the light and the dark picture, each its own")
        << "GNOME" << std::shared_ptr<WallpaperStore>(gnome) << 2 << true;
    QTest::newRow("Ubuntu's GNOME") << "ubuntu:GNOME" << std::shared_ptr<WallpaperStore>(gnome) << 2 << true;
    QTest::newRow("Cinnamon") << "X-Cinnamon" << std::shared_ptr<WallpaperStore>(cinnamon) << 1 << true;
    QTest::newRow("MATE") << "MATE" << std::shared_ptr<WallpaperStore>(mate) << 1 << true;
    QTest::newRow("XFCE: a picture per workspace, each its own")
        << "XFCE" << std::shared_ptr<WallpaperStore>(xfce) << 2 << true;
}

void tst_SettingsWindow::ownPictureComesBack()
{
    QFETCH(QString, currentDesktop);
    QFETCH(std::shared_ptr<WallpaperStore>, desktopStore);
    QFETCH(int, userPictures);
    QFETCH(bool, comesBack);
    // The desktops' settings stores need a session bus: tst_settingswindow_desktops
    // runs these rows with one of their own.
    if (qgetenv("DBUS_SESSION_BUS_ADDRESS").startsWith("disabled:"))
        QSKIP("no session bus in this session");

    if (!currentDesktop.isEmpty() && !qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("the desktop's settings need a session bus: run under dbus-run-session");
    store = desktopStore;
    // Before the program ever ran: only what the desktop holds.
    store->reset();
    QFile::remove(WallpaperRecord::filePath());
    if (!currentDesktop.isEmpty())
        qputenv("XDG_CURRENT_DESKTOP", currentDesktop.toUtf8());
    const QStringList own = QStringList{userPicture("own light.png", QColor(30, 120, 90)),
                                        userPicture("own dark.png", QColor(150, 60, 20))}.mid(0, userPictures);
    store->seed(own);
    const QStringList before = store->pictures();

    // The first start shows the first design.
    createWindow();
    QCOMPARE(store->pictures(), store->showing(designBitmap("9")));

    setCookieInPage(view("settings"), "design=4");
    QCOMPARE(store->pictures(), store->showing(designBitmap("4")));

    QCheckBox *ownImage = window->findChild<QCheckBox *>("wallpaper");
    // Where nothing can come back, the check box says so.
    QCOMPARE(ownImage->toolTip().isEmpty(), comesBack);
    ownImage->setChecked(true);
    QCOMPARE(store->pictures(), comesBack ? before : store->showing(designBitmap("4")));
    QVERIFY(!backdropIsBlack());

    ownImage->setChecked(false);
    QCOMPARE(store->pictures(), store->showing(designBitmap("4")));
    QVERIFY(!backdropIsBlack());

    // Once more: what was kept at the last switch-off comes back.
    ownImage->setChecked(true);
    QCOMPARE(store->pictures(), comesBack ? before : store->showing(designBitmap("4")));
}

void tst_SettingsWindow::recordOfAnOlderVersionNamingNoPicture_data()
{
    QTest::addColumn<QString>("recorded");
    QTest::newRow("empty") << "";
    QTest::newRow("a design without a bitmap") << designBitmap("42");
}

// Older versions recorded a wallpaper that named no picture; the root window
// still shows the user's picture, and the page's backdrop must show it too.
void tst_SettingsWindow::recordOfAnOlderVersionNamingNoPicture()
{
    QFETCH(QString, recorded);
    const QColor own(30, 120, 90);
    RootWindowWallpaper::set(QByteArray(), QImage(userPicture("own.png", own)), {});
    WallpaperRecord::write(recorded);
    QSettings settings;
    settings.setValue(DesktopProgramSettings::firstStartKey, false);
    settings.setValue(DesktopProgramSettings::wallpaperKey, 2);
    settings.setValue(DesktopProgramSettings::originalWallpaperKey, recorded);
    settings.sync();

    createWindow();
    const auto *backdrop = background()->findChild<QLabel *>("wallpaperBackdrop");
    QVERIFY(backdrop);
    QCOMPARE(backdrop->pixmap(Qt::ReturnByValue).toImage().pixelColor(80, 80), own);
}

int main(int argc, char **argv)
{
    // As in both programs: sizes in device-independent pixels on every screen.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    tst_SettingsWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_settingswindow.moc"
