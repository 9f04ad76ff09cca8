#include "linux/DesktopFamily.h"

#include <QtTest>

Q_DECLARE_METATYPE(DesktopFamily::Name)

// Which wallpaper backend a session gets, from its standard variables.
class tst_DesktopFamily : public QObject
{
    Q_OBJECT

private slots:
    void of_data();
    void of();
};

void tst_DesktopFamily::of_data()
{
    QTest::addColumn<QString>("currentDesktop");
    QTest::addColumn<QString>("desktopSession");
    QTest::addColumn<bool>("swayRunning");
    QTest::addColumn<DesktopFamily::Name>("family");

    QTest::newRow("GNOME") << "GNOME" << "gnome" << false << DesktopFamily::Gnome;
    QTest::newRow("Ubuntu") << "ubuntu:GNOME" << "ubuntu" << false << DesktopFamily::Gnome;
    QTest::newRow("Budgie") << "Budgie:GNOME" << "budgie-desktop" << false << DesktopFamily::Gnome;
    QTest::newRow("GNOME Flashback") << "GNOME-Flashback:GNOME" << "" << false << DesktopFamily::Gnome;
    QTest::newRow("Pantheon") << "Pantheon" << "pantheon" << false << DesktopFamily::Gnome;
    QTest::newRow("Cinnamon") << "X-Cinnamon" << "cinnamon" << false << DesktopFamily::Cinnamon;
    QTest::newRow("Cinnamon software rendering") << "" << "cinnamon2d" << false << DesktopFamily::Cinnamon;
    QTest::newRow("MATE") << "MATE" << "mate" << false << DesktopFamily::Mate;
    QTest::newRow("XFCE") << "XFCE" << "xfce" << false << DesktopFamily::Xfce;
    QTest::newRow("Xubuntu, session only") << "" << "xubuntu" << false << DesktopFamily::Xfce;
    QTest::newRow("KDE Plasma") << "KDE" << "plasma" << false << DesktopFamily::Plasma;
    QTest::newRow("KDE Plasma, session file path") << "" << "/usr/share/xsessions/plasma" << false
                                                  << DesktopFamily::Plasma;
    QTest::newRow("LXQt") << "LXQt" << "lxqt" << false << DesktopFamily::Lxqt;
    QTest::newRow("sway") << "sway" << "sway" << true << DesktopFamily::Sway;
    QTest::newRow("sway started by hand") << "" << "" << true << DesktopFamily::Sway;
    QTest::newRow("the most specific name first") << "X-Cinnamon:GNOME" << "" << false << DesktopFamily::Cinnamon;
    QTest::newRow("openbox") << "" << "openbox" << false << DesktopFamily::BareX11;
    QTest::newRow("LXDE's openbox") << "LXDE" << "LXDE" << false << DesktopFamily::BareX11;
    QTest::newRow("i3") << "i3" << "i3" << false << DesktopFamily::BareX11;
    QTest::newRow("nothing known") << "" << "" << false << DesktopFamily::BareX11;
}

void tst_DesktopFamily::of()
{
    QFETCH(QString, currentDesktop);
    QFETCH(QString, desktopSession);
    QFETCH(bool, swayRunning);
    QFETCH(DesktopFamily::Name, family);
    QCOMPARE(DesktopFamily::of(currentDesktop, desktopSession, swayRunning), family);
}

QTEST_APPLESS_MAIN(tst_DesktopFamily)
#include "tst_desktopfamily.moc"
