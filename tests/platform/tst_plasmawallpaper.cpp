#include "linux/PlasmaWallpaper.h"

#include <QJSEngine>
#include <QtTest>

using Screens = QList<QPair<QRect, QString>>;
Q_DECLARE_METATYPE(Screens)

// The script that gives each Plasma desktop the picture of its screen, run in a
// script engine against stand-ins for the desktops and screens of plasmashell's
// scripting (plasmashell itself does not run here).
class tst_PlasmaWallpaper : public QObject
{
    Q_OBJECT

private slots:
    void eachDesktopGetsThePictureOfItsScreen_data();
    void eachDesktopGetsThePictureOfItsScreen();
};

namespace {
// Desktops on Plasma's screens 0 and 1, and one on no screen (-1).
const char plasmaStandIn[] = R"(
function Desktop(screen) {
    this.screen = screen;
    this.wallpaperPlugin = 'org.kde.color';
    this.currentConfigGroup = [];
    this.config = {};
}
Desktop.prototype.writeConfig = function (key, value) {
    this.config[this.currentConfigGroup.concat([key]).join('/')] = value;
};
var standInDesktops = [new Desktop(0), new Desktop(1), new Desktop(-1)];
function desktops() { return standInDesktops; }
var standInScreens = [{x: 0, y: 0, width: 1280, height: 800}, {x: 1280, y: 0, width: 1024, height: 768}];
function screenGeometry(id) { return standInScreens[id] || {x: 0, y: 0, width: 0, height: 0}; }
)";
const char shownPictures[] =
    "standInDesktops.map(function (d) { return d.wallpaperPlugin + ' ' + d.config['Wallpaper/org.kde.image/General/Image']; })";
}

void tst_PlasmaWallpaper::eachDesktopGetsThePictureOfItsScreen_data()
{
    QTest::addColumn<Screens>("screens");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QStringList>("shown");

    const QString wide = "/opt/zintello/Wallpapers/A_design_3.bmp";
    const QString narrow = "/opt/zintello/Wallpapers/B_design_3.bmp";
    QTest::newRow("each screen its own picture")
        << Screens{{QRect(0, 0, 1280, 800), wide}, {QRect(1280, 0, 1024, 768), narrow}} << wide
        << QStringList{"org.kde.image file://" + wide, "org.kde.image file://" + narrow,
                       "org.kde.image file://" + wide};
    QTest::newRow("a screen that Plasma places elsewhere takes the primary picture")
        << Screens{{QRect(0, 0, 1280, 800), narrow}, {QRect(2304, 0, 1024, 768), wide}} << narrow
        << QStringList{"org.kde.image file://" + narrow, "org.kde.image file://" + narrow,
                       "org.kde.image file://" + narrow};
    const QString awkward = "/home/o'neil/my pictures/%1\\a.bmp";
    const QString awkwardUri = "org.kde.image file:///home/o'neil/my%20pictures/%251%5Ca.bmp";
    QTest::newRow("quotes, spaces, percent signs and backslashes in the path")
        << Screens{{QRect(0, 0, 1280, 800), awkward}} << awkward << QStringList{awkwardUri, awkwardUri, awkwardUri};
}

void tst_PlasmaWallpaper::eachDesktopGetsThePictureOfItsScreen()
{
    QFETCH(Screens, screens);
    QFETCH(QString, primary);
    QFETCH(QStringList, shown);

    QJSEngine engine;
    QVERIFY(!engine.evaluate(plasmaStandIn).isError());
    const QString script = PlasmaWallpaper::scriptSetting(screens, primary);
    const QJSValue result = engine.evaluate(script);
    QVERIFY2(!result.isError(), qPrintable(result.toString() + "\n" + script));
    QCOMPARE(engine.evaluate(shownPictures).toVariant().toStringList(), shown);
}

QTEST_GUILESS_MAIN(tst_PlasmaWallpaper)
#include "tst_plasmawallpaper.moc"
