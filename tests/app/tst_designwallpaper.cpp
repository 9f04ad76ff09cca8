#include "DesignWallpaper.h"

#include <QDir>
#include <QSize>
#include <QtTest>

class tst_DesignWallpaper : public QObject
{
    Q_OBJECT

private slots:
    void bitmapByScreenShape_data();
    void bitmapByScreenShape();
    void pathUsesNativeSeparators();
    void valuesThatLeaveWallpapers_data();
    void valuesThatLeaveWallpapers();
};

void tst_DesignWallpaper::bitmapByScreenShape_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("1920x1080") << QSize(1920, 1080) << "/Wallpapers/A_design_";
    QTest::newRow("1440x900") << QSize(1440, 900) << "/Wallpapers/A_design_";
    QTest::newRow("2560x1080") << QSize(2560, 1080) << "/Wallpapers/A_design_";
    QTest::newRow("3:2") << QSize(1500, 1000) << "/Wallpapers/A_design_";
    QTest::newRow("1280x1024") << QSize(1280, 1024) << "/Wallpapers/B_design_";
    QTest::newRow("1024x768") << QSize(1024, 768) << "/Wallpapers/B_design_";
    QTest::newRow("portrait") << QSize(1080, 1920) << "/Wallpapers/B_design_";
}

void tst_DesignWallpaper::bitmapByScreenShape()
{
    QFETCH(QSize, screen);
    QFETCH(QString, prefix);
    QCOMPARE(DesignWallpaper::prefixFor(screen), prefix);
}

void tst_DesignWallpaper::pathUsesNativeSeparators()
{
    QCOMPARE(DesignWallpaper::pathFor("/opt/zintello", "3", QSize(1920, 1080)),
             QDir::toNativeSeparators("/opt/zintello/Wallpapers/A_design_3.bmp"));
    // The number is inserted as it came, only its file name is checked elsewhere.
    QCOMPARE(DesignWallpaper::pathFor("/p", " 7x", QSize(1024, 768)),
             QDir::toNativeSeparators("/p/Wallpapers/B_design_ 7x.bmp"));
}

void tst_DesignWallpaper::valuesThatLeaveWallpapers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("usable");

    QTest::newRow("a number") << "9" << true;
    QTest::newRow("not a number, but a plain name") << "blue sky" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("climbs out") << "../../../secret" << false;
    QTest::newRow("two dots alone") << ".." << false;
    QTest::newRow("slash") << "3/4" << false;
    QTest::newRow("backslash") << "3\\4" << false;
    QTest::newRow("line feed") << "3\n" << false;
    QTest::newRow("zero character") << QString("3") + QChar(0) << false;
    QTest::newRow("one dot") << "3.5" << true;
}

void tst_DesignWallpaper::valuesThatLeaveWallpapers()
{
    QFETCH(QString, number);
    QFETCH(bool, usable);
    QCOMPARE(DesignWallpaper::staysInsideWallpapers(number), usable);
}

QTEST_APPLESS_MAIN(tst_DesignWallpaper)
#include "tst_designwallpaper.moc"
