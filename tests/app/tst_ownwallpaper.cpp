#include "DesktopIntegration.h"
#include "TestEnvironment.h"
#include "ZintelloDesktopBackgroundWidget.h"
#include "ZintelloDesktopSettingsWindow.h"
#include "linux/RootWindowWallpaper.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
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

// The user's own wallpaper through the settings window's whole flow on each
// desktop family that runs here, against the desktop's real settings store:
// first start, a design change, own image on and off again.
class tst_OwnWallpaper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void ownPictureComesBack_data();
    void ownPictureComesBack();

private:
    QString userPicture(const QString &name, const QColor &color) const;
    QString designBitmap(const QString &number) const;
    ZintelloDesktopBackgroundWidget *background() const;
    bool backdropIsBlack() const;
    void setDesignInPage(const QString &number);

    QTemporaryDir pictures;
    std::unique_ptr<ZintelloDesktopSettingsWindow> window;
    std::shared_ptr<WallpaperStore> store;
};

Q_DECLARE_METATYPE(std::shared_ptr<WallpaperStore>)

void tst_OwnWallpaper::initTestCase()
{
    QCoreApplication::setOrganizationName("Morvaleen");
    QCoreApplication::setOrganizationDomain("morvaleen.de");
    QCoreApplication::setApplicationName("Zintello");
    QApplication::setQuitOnLastWindowClosed(false);
    qputenv("http_proxy", "http://127.0.0.1:9");
    QVERIFY2(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"), "run under dbus-run-session");
    QVERIFY(pictures.isValid());
    // Without a compositing manager the background paints the wallpaper behind its page.
    QVERIFY(!DesktopIntegration::showsTranslucentWindows());
}

void tst_OwnWallpaper::cleanup()
{
    window.reset();
    if (store)
        store->reset();
    store.reset();
    QSettings().clear();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Morvaleen/desktop-wallpaper");
    qunsetenv("XDG_CURRENT_DESKTOP");
}

QString tst_OwnWallpaper::userPicture(const QString &name, const QColor &color) const
{
    const QString path = pictures.filePath(name);
    QImage picture(64, 40, QImage::Format_RGB32);
    picture.fill(color);
    picture.save(path, "PNG");
    return path;
}

QString tst_OwnWallpaper::designBitmap(const QString &number) const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/Wallpapers/A_design_" + number + ".bmp");
}

ZintelloDesktopBackgroundWidget *tst_OwnWallpaper::background() const
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (auto *background = qobject_cast<ZintelloDesktopBackgroundWidget *>(widget))
            return background;
    }
    return nullptr;
}

bool tst_OwnWallpaper::backdropIsBlack() const
{
    const auto *backdrop = background()->findChild<QLabel *>("wallpaperBackdrop");
    if (!backdrop)
        return true;
    const QImage painted = backdrop->pixmap(Qt::ReturnByValue).toImage();
    return painted.pixelColor(80, 80) == QColor(Qt::black);
}

void tst_OwnWallpaper::setDesignInPage(const QString &number)
{
    window->findChild<QWebView *>("settings")->page()->mainFrame()->evaluateJavaScript(
        QStringLiteral("document.cookie = 'design=%1; path=/';").arg(number));
}

void tst_OwnWallpaper::ownPictureComesBack_data()
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

void tst_OwnWallpaper::ownPictureComesBack()
{
    QFETCH(QString, currentDesktop);
    QFETCH(std::shared_ptr<WallpaperStore>, desktopStore);
    QFETCH(int, userPictures);
    QFETCH(bool, comesBack);

    store = desktopStore;
    if (!currentDesktop.isEmpty())
        qputenv("XDG_CURRENT_DESKTOP", currentDesktop.toUtf8());
    const QStringList own = QStringList{userPicture("own light.png", QColor(30, 120, 90)),
                                        userPicture("own dark.png", QColor(150, 60, 20))}.mid(0, userPictures);
    store->seed(own);
    const QStringList before = store->pictures();

    // The first start shows the first design.
    window = std::make_unique<ZintelloDesktopSettingsWindow>();
    QVERIFY(TestEnvironment::waitFor([this] { return background() && background()->webView->url().isLocalFile(); }, 20000));
    QCOMPARE(store->pictures(), store->showing(designBitmap("9")));

    setDesignInPage("4");
    QCOMPARE(store->pictures(), store->showing(designBitmap("4")));

    QCheckBox *ownImage = window->findChild<QCheckBox *>("wallpaper");
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

QTEST_MAIN(tst_OwnWallpaper)
#include "tst_ownwallpaper.moc"
