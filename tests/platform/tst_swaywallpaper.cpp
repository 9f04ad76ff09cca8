#include "linux/SwayWallpaper.h"

#include <QtTest>

// Which picture a sway configuration gives its outputs, for the time before
// the program set one.
class tst_SwayWallpaper : public QObject
{
    Q_OBJECT

private slots:
    void configuredPicture_data();
    void configuredPicture();
};

void tst_SwayWallpaper::configuredPicture_data()
{
    QTest::addColumn<QString>("configuration");
    QTest::addColumn<QString>("picture");

    QTest::newRow("every output") << "set $mod Mod4\noutput * bg /usr/share/backgrounds/sway/Sway_Wallpaper_Blue_1920x1080.png fill\n"
                                  << "/usr/share/backgrounds/sway/Sway_Wallpaper_Blue_1920x1080.png";
    QTest::newRow("one output, indented") << "  output HDMI-A-1 bg /home/anna/sea.jpg stretch" << "/home/anna/sea.jpg";
    QTest::newRow("in the home directory") << "output * bg ~/Pictures/hill.png fit" << "/home/anna/Pictures/hill.png";
    QTest::newRow("quoted, with spaces") << "output * bg \"/home/anna/my pictures/a b.png\" center"
                                         << "/home/anna/my pictures/a b.png";
    QTest::newRow("long form") << "output eDP-1 background /srv/x.png tile" << "/srv/x.png";
    QTest::newRow("a solid colour") << "output * bg #203040 solid_color" << "";
    QTest::newRow("a variable") << "output * bg $wallpaper fill" << "";
    QTest::newRow("commented out") << "# output * bg /srv/x.png fill" << "";
    QTest::newRow("no background") << "output * resolution 1280x800" << "";
}

void tst_SwayWallpaper::configuredPicture()
{
    QFETCH(QString, configuration);
    QFETCH(QString, picture);
    QCOMPARE(SwayWallpaper::configuredPicture(configuration, "/home/anna"), picture);
}

QTEST_APPLESS_MAIN(tst_SwayWallpaper)
#include "tst_swaywallpaper.moc"
