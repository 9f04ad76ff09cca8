#include "DesktopIntegration.h"
#include "TestEnvironment.h"
#include "TestIdentity.h"
#include "linux/GnomeBackground.h"
#include "linux/WallpaperRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

namespace {

const QString schema = QStringLiteral("org.gnome.desktop.background");

QString gsettings(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("gsettings"), arguments);
    if (!process.waitForFinished(20000))
        process.kill();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// gsettings prints a string in quotes, escaping the quote and the backslash.
QString keyValue(const QString &key)
{
    QString value = gsettings({QStringLiteral("get"), schema, key});
    if (value.size() < 2)
        return QString();
    value = value.mid(1, value.size() - 2);
    return value.replace(QLatin1String("\\'"), QLatin1String("'"))
        .replace(QLatin1String("\\\""), QLatin1String("\""))
        .replace(QLatin1String("\\\\"), QLatin1String("\\"));
}

// The local file that GLib (and so GNOME) takes a URI for.
QString localPathOf(const QString &uri)
{
    const QString info = TestEnvironment::run(QStringLiteral("gio"), {QStringLiteral("info"), uri});
    const QStringList lines = info.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("local path: ")))
            return line.mid(12);
    }
    return QString();
}

} // namespace

class tst_GnomeBackground : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void isGnomeFamily_data();
    void isGnomeFamily();
    void unquotedValue_data();
    void unquotedValue();
    void pathFromUri_data();
    void pathFromUri();
    void setsBothKeys_data();
    void setsBothKeys();
    void onlyTheKeysChange();
    void emptyPathKeepsTheWallpaper();
    void otherThanAFileReadsAsUnknown();
    void withoutABusNothingChanges();
    void eachPictureKeyComesBackOnItsOwn_data();
    void eachPictureKeyComesBackOnItsOwn();
    void otherDesktopsOnGsettings_data();
    void otherDesktopsOnGsettings();

private:
    QTemporaryDir pictures;
    QString picture(const QString &name);
};

void tst_GnomeBackground::initTestCase()
{
    TestIdentity::desktopProgram();
    QVERIFY(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"));
    QVERIFY2(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"), "run under dbus-run-session");
    QVERIFY(pictures.isValid());
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
}

void tst_GnomeBackground::cleanupTestCase()
{
    qunsetenv("XDG_CURRENT_DESKTOP");
}

QString tst_GnomeBackground::picture(const QString &name)
{
    const QString path = pictures.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    return path;
}

void tst_GnomeBackground::isGnomeFamily_data()
{
    QTest::addColumn<QString>("currentDesktop");
    QTest::addColumn<bool>("gnomeFamily");

    QTest::newRow("GNOME") << "GNOME" << true;
    QTest::newRow("Ubuntu") << "ubuntu:GNOME" << true;
    QTest::newRow("GNOME Classic") << "GNOME-Classic:GNOME" << true;
    QTest::newRow("GNOME Flashback") << "GNOME-Flashback:GNOME" << true;
    QTest::newRow("Unity") << "Unity" << true;
    QTest::newRow("Unity with Ubuntu") << "Unity:Unity7:ubuntu" << true;
    QTest::newRow("Budgie") << "Budgie:GNOME" << true;
    QTest::newRow("Pantheon") << "Pantheon" << true;
    QTest::newRow("KDE") << "KDE" << false;
    QTest::newRow("XFCE") << "XFCE" << false;
    QTest::newRow("LXQt") << "LXQt" << false;
    QTest::newRow("MATE") << "MATE" << false;
    QTest::newRow("Cinnamon") << "X-Cinnamon" << false;
    QTest::newRow("unset") << "" << false;
}

void tst_GnomeBackground::isGnomeFamily()
{
    QFETCH(QString, currentDesktop);
    QFETCH(bool, gnomeFamily);
    QCOMPARE(GnomeBackground::isGnomeFamily(currentDesktop), gnomeFamily);
}

void tst_GnomeBackground::unquotedValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("single quotes") << "'file:///a%20b.jpg'" << "file:///a%20b.jpg";
    QTest::newRow("double quotes around a quote") << "\"file:///it's.jpg\"" << "file:///it's.jpg";
    QTest::newRow("escaped quote") << "'it\\'s'" << "it's";
    QTest::newRow("escaped backslash") << "'a\\\\b'" << "a\\b";
    QTest::newRow("unicode escape") << "'\\u00e4\\U0001f600'" << QString::fromUtf8("ä😀");
    QTest::newRow("empty string") << "''" << "";
    QTest::newRow("not a string") << "@as []" << "";
    QTest::newRow("unquoted") << "file:///x.jpg" << "";
    QTest::newRow("nothing") << "" << "";
}

void tst_GnomeBackground::unquotedValue()
{
    QFETCH(QString, value);
    QFETCH(QString, text);
    QCOMPARE(GnomeBackground::unquotedValue(value), text);
}

void tst_GnomeBackground::pathFromUri_data()
{
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("path");

    QTest::newRow("file URI") << "file:///usr/share/backgrounds/a%20b.jpg" << "/usr/share/backgrounds/a b.jpg";
    QTest::newRow("file URI of localhost") << "file://localhost/tmp/x.png" << "/tmp/x.png";
    QTest::newRow("file URI of another host") << "file://server/share/x.png" << "";
    QTest::newRow("plain path") << "/home/anna/bild.png" << "/home/anna/bild.png";
    QTest::newRow("web address") << "https://example.invalid/x.jpg" << "";
    QTest::newRow("resource") << "resource:///org/gnome/x.jpg" << "";
    QTest::newRow("empty") << "" << "";
}

void tst_GnomeBackground::pathFromUri()
{
    QFETCH(QString, uri);
    QFETCH(QString, path);
    QCOMPARE(GnomeBackground::pathFromUri(uri), path);
}

void tst_GnomeBackground::setsBothKeys_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("plain") << "Wallpapers/A_design_3.bmp";
    QTest::newRow("space and quotes") << "My \"own\" pictures/it's here.bmp";
    QTest::newRow("URI characters") << "100% #1?/a&b;c=d.bmp";
    QTest::newRow("backslash") << "back\\slash/B_design_9.bmp";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Bilder/Grüße 中文.bmp");
}

void tst_GnomeBackground::setsBothKeys()
{
    QFETCH(QString, name);
    const QString path = picture(name);

    DesktopIntegration::setWallpaper(path);

    for (const char *key : {"picture-uri", "picture-uri-dark"}) {
        const QString uri = keyValue(QLatin1String(key));
        QVERIFY2(uri.startsWith(QLatin1String("file:///")), qPrintable(uri));
        QCOMPARE(localPathOf(uri), path);
    }
    QCOMPARE(DesktopIntegration::currentWallpaper(), path);
    // Stored by dconf, for the desktop to find at the next log-in.
    QVERIFY(QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + QLatin1String("/dconf/user")));
}

void tst_GnomeBackground::onlyTheKeysChange()
{
    DesktopIntegration::setWallpaper(picture(QStringLiteral("Wallpapers/A_design_4.bmp")));

    const QString rootProperty = TestEnvironment::run(QStringLiteral("xprop"),
                                                      {QStringLiteral("-root"), QStringLiteral("_XROOTPMAP_ID")});
    QVERIFY2(!rootProperty.contains(QLatin1String("pixmap id")), qPrintable(rootProperty));
    QVERIFY(!QFile::exists(WallpaperRecord::filePath()));
}

void tst_GnomeBackground::emptyPathKeepsTheWallpaper()
{
    const QString path = picture(QStringLiteral("Wallpapers/A_design_5.bmp"));
    DesktopIntegration::setWallpaper(path);

    DesktopIntegration::setWallpaper(QString());

    QCOMPARE(DesktopIntegration::currentWallpaper(), path);
    QCOMPARE(localPathOf(keyValue(QStringLiteral("picture-uri-dark"))), path);
}

void tst_GnomeBackground::otherThanAFileReadsAsUnknown()
{
    gsettings({QStringLiteral("set"), schema, QStringLiteral("picture-uri"),
               QStringLiteral("'https://example.invalid/x.jpg'")});
    QCOMPARE(keyValue(QStringLiteral("picture-uri")), QStringLiteral("https://example.invalid/x.jpg"));

    QCOMPARE(DesktopIntegration::currentWallpaper(), QString());
}

// Without a session bus dconf cannot write: the call returns at once, nothing is
// reported, and reading gives the wallpaper that the desktop really has.
void tst_GnomeBackground::withoutABusNothingChanges()
{
    // dbus-x11 would start a bus of its own on demand, one that outlives the test.
    QVERIFY2(QStandardPaths::findExecutable(QStringLiteral("dbus-launch")).isEmpty(),
             "dbus-x11 is installed");
    const QString before = picture(QStringLiteral("Wallpapers/A_design_6.bmp"));
    DesktopIntegration::setWallpaper(before);

    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    QElapsedTimer timer;
    timer.start();
    DesktopIntegration::setWallpaper(picture(QStringLiteral("Wallpapers/A_design_7.bmp")));
    const qint64 elapsed = timer.elapsed();
    const QString readWithoutBus = DesktopIntegration::currentWallpaper();
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus);

    QVERIFY2(elapsed < 15000, qPrintable(QString::number(elapsed)));
    QCOMPARE(readWithoutBus, before);
    QCOMPARE(DesktopIntegration::currentWallpaper(), before);
}

void tst_GnomeBackground::eachPictureKeyComesBackOnItsOwn_data()
{
    QTest::addColumn<QString>("darkValue");   // as gsettings takes it; %1 is the dark picture's URI
    QTest::addColumn<QString>("darkText");

    QTest::newRow("a dark picture of its own") << "'%1'" << "%1";
    QTest::newRow("a dark picture that is no local file")
        << "'resource:///org/gnome/shell/dark.jpg'" << "resource:///org/gnome/shell/dark.jpg";
    QTest::newRow("the same picture for both") << "'%2'" << "%2";
}

void tst_GnomeBackground::eachPictureKeyComesBackOnItsOwn()
{
    QFETCH(QString, darkValue);
    QFETCH(QString, darkText);
    const QString light = picture(QStringLiteral("Own/it's light.png"));
    const QString lightUri = QUrl::fromLocalFile(light).toString(QUrl::FullyEncoded);
    const QString darkUri = QUrl::fromLocalFile(picture(QStringLiteral("Own/dark.png"))).toString(QUrl::FullyEncoded);
    gsettings({QStringLiteral("set"), schema, QStringLiteral("picture-uri"), GnomeBackground::quotedValue(lightUri)});
    gsettings({QStringLiteral("set"), schema, QStringLiteral("picture-uri-dark"), darkValue.arg(darkUri, lightUri)});

    const QString kept = DesktopIntegration::keepWallpaper();
    QCOMPARE(kept, light);
    DesktopIntegration::setWallpaper(picture(QStringLiteral("Wallpapers/A_design_2.bmp")));
    QVERIFY(keyValue(QStringLiteral("picture-uri-dark")).endsWith(QLatin1String("A_design_2.bmp")));

    DesktopIntegration::restoreWallpaper(kept);
    QCOMPARE(localPathOf(keyValue(QStringLiteral("picture-uri"))), light);
    QCOMPARE(keyValue(QStringLiteral("picture-uri-dark")), darkText.arg(darkUri, lightUri));

    // A path kept elsewhere (an older version's) comes back on both keys.
    const QString older = picture(QStringLiteral("Own/older.png"));
    DesktopIntegration::restoreWallpaper(older);
    QCOMPARE(localPathOf(keyValue(QStringLiteral("picture-uri"))), older);
    QCOMPARE(localPathOf(keyValue(QStringLiteral("picture-uri-dark"))), older);
}

void tst_GnomeBackground::otherDesktopsOnGsettings_data()
{
    QTest::addColumn<QString>("currentDesktop");
    QTest::addColumn<QString>("otherSchema");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("uri");

    QTest::newRow("Cinnamon") << "X-Cinnamon" << "org.cinnamon.desktop.background" << "picture-uri" << true;
    QTest::newRow("MATE") << "MATE" << "org.mate.background" << "picture-filename" << false;
}

void tst_GnomeBackground::otherDesktopsOnGsettings()
{
    QFETCH(QString, currentDesktop);
    QFETCH(QString, otherSchema);
    QFETCH(QString, key);
    QFETCH(bool, uri);
    const QString gnomeBefore = keyValue(QStringLiteral("picture-uri"));
    qputenv("XDG_CURRENT_DESKTOP", currentDesktop.toUtf8());
    const QString path = picture(QStringLiteral("Other desktop/it's 100%.bmp"));

    DesktopIntegration::setWallpaper(path);
    const QString readBack = DesktopIntegration::currentWallpaper();
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");

    QString value = gsettings({QStringLiteral("get"), otherSchema, key});
    value = GnomeBackground::unquotedValue(value);
    QCOMPARE(uri ? localPathOf(value) : value, path);
    QCOMPARE(readBack, path);
    QCOMPARE(keyValue(QStringLiteral("picture-uri")), gnomeBefore);
}

QTEST_GUILESS_MAIN(tst_GnomeBackground)
#include "tst_gnomebackground.moc"
