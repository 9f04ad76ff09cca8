#include "DesktopIntegration.h"
#include "TestEnvironment.h"
#include "linux/RootWindowWallpaper.h"
#include "linux/WallpaperRecord.h"
#include "TestIdentity.h"
#include "WallpaperPicture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/xcb.h>

#include <memory>

namespace {

const QColor topLeft(200, 30, 40), topRight(20, 180, 60), bottomLeft(30, 60, 220),
    bottomRight(250, 250, 250);

// A 16:10 picture of four coloured quarters.
QImage quarters(const QSize &size = QSize(320, 200))
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = size.width() / 2, h = size.height() / 2;
    painter.fillRect(0, 0, w, h, topLeft);
    painter.fillRect(w, 0, w, h, topRight);
    painter.fillRect(0, h, w, h, bottomLeft);
    painter.fillRect(w, h, w, h, bottomRight);
    return image;
}

QImage screenshot(const QString &display)
{
    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("root.png"));
    TestEnvironment::run(QStringLiteral("import"), {QStringLiteral("-display"), display,
                                                    QStringLiteral("-window"), QStringLiteral("root"), shot},
                         30000);
    return QImage(shot).convertToFormat(QImage::Format_RGB32);
}

bool near(const QColor &actual, const QColor &expected, int tolerance)
{
    return qAbs(actual.red() - expected.red()) <= tolerance
           && qAbs(actual.green() - expected.green()) <= tolerance
           && qAbs(actual.blue() - expected.blue()) <= tolerance;
}

QByteArray describe(const QColor &color)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue()).toLatin1();
}

// The pixmap that a root property names, as xprop shows it; 0 when unset.
quint32 rootPixmap(const QString &display, const char *property)
{
    const QString output = TestEnvironment::run(
        QStringLiteral("xprop"), {QStringLiteral("-display"), display, QStringLiteral("-root"),
                                  QLatin1String(property)});
    const QRegularExpression id(QStringLiteral("\\(PIXMAP\\): pixmap id # (0x[0-9a-f]+)"));
    return id.match(output).captured(1).toUInt(nullptr, 16);
}

QString sessionDisplay()
{
    return qEnvironmentVariable("DISPLAY");
}

// A connection of the test's own, which Xlib's error handling cannot end.
class XcbConnection
{
public:
    XcbConnection() : connection(xcb_connect(nullptr, &screenNumber)) {}
    ~XcbConnection() { xcb_disconnect(connection); }

    bool alive()
    {
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        return !xcb_connection_has_error(connection);
    }

    bool pixmapExists(quint32 pixmap)
    {
        xcb_generic_error_t *error = nullptr;
        free(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, pixmap), &error));
        const bool exists = !error;
        free(error);
        return exists;
    }

    xcb_window_t root() { return xcb_aux_root(); }

    xcb_connection_t *connection;
    int screenNumber = 0;

private:
    xcb_window_t xcb_aux_root()
    {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; i < screenNumber; ++i)
            xcb_screen_next(&it);
        return it.data->root;
    }
};

// An X server of a chosen depth, for the visuals that the session's server lacks.
class XServer
{
public:
    explicit XServer(int depth)
    {
        // -displayfd 1: the server writes its display number to our pipe once it
        // accepts connections; -noreset keeps the root background after a client.
        process.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("320x200x%1").arg(depth),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
        QByteArray number;
        while (!number.endsWith('\n') && process.waitForReadyRead(20000))
            number += process.readAllStandardOutput();
        if (number.endsWith('\n'))
            display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    }
    ~XServer()
    {
        process.terminate();
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
        }
    }

    QProcess process;
    QString display;
};

} // namespace

class tst_RootWindowWallpaper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void unknownBeforeTheFirstSet();
    void compose_data();
    void compose();
    void shownOnTheRootWindow();
    void eachScreenItsOwnPicture();
    void settingAgainFreesThePreviousPixmap();
    void pixmapOfARunningProgramIsLeftAlone();
    void pathThatShowsNoPictureKeepsTheDesktop_data();
    void pathThatShowsNoPictureKeepsTheDesktop();
    void keepsACopyOfAPictureOnlyTheRootWindowHolds();
    void visuals_data();
    void visuals();

private:
    QTemporaryDir images;
    QString imagePath(const QString &name, const QImage &image);
};

void tst_RootWindowWallpaper::initTestCase()
{
    TestIdentity::desktopProgram();
    QVERIFY(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"));
    QVERIFY(qEnvironmentVariable("XDG_CURRENT_DESKTOP").isEmpty());
    QVERIFY(images.isValid());
}

QString tst_RootWindowWallpaper::imagePath(const QString &name, const QImage &image)
{
    const QString path = images.filePath(name);
    if (!QFile::exists(path))
        image.save(path, "BMP");
    return path;
}

void tst_RootWindowWallpaper::unknownBeforeTheFirstSet()
{
    QCOMPARE(DesktopIntegration::currentWallpaper(), QString());
    // Xvfb's root window has no picture to keep.
    QCOMPARE(DesktopIntegration::keepWallpaper(), QString());
    DesktopIntegration::restoreWallpaper(QString());
    QCOMPARE(DesktopIntegration::currentWallpaper(), QString());
    QVERIFY(!QFile::exists(WallpaperRecord::filePath()));
}

void tst_RootWindowWallpaper::compose_data()
{
    QTest::addColumn<QSize>("rootSize");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("expected");

    // 200x100 picture with a black band of 20 rows at the top.
    const QList<QRect> whole;
    QTest::newRow("same shape: top left") << QSize(400, 200) << whole << QPoint(10, 50) << topLeft;
    QTest::newRow("same shape: top band") << QSize(400, 200) << whole << QPoint(200, 10) << QColor(Qt::black);
    QTest::newRow("same shape: bottom right") << QSize(400, 200) << whole << QPoint(390, 190) << bottomRight;
    // A wider screen: scaled to the width, the top band cut off.
    QTest::newRow("wider: band cut off") << QSize(400, 100) << whole << QPoint(100, 3) << topLeft;
    QTest::newRow("wider: bottom right") << QSize(400, 100) << whole << QPoint(300, 97) << bottomRight;
    // A narrower screen: scaled to the height, the sides cut off, band kept.
    QTest::newRow("narrower: band kept") << QSize(100, 200) << whole << QPoint(50, 10) << QColor(Qt::black);
    QTest::newRow("narrower: left part") << QSize(100, 200) << whole << QPoint(3, 60) << topLeft;
    // Two screens side by side: the picture on each.
    const QList<QRect> two{QRect(0, 0, 200, 100), QRect(200, 0, 200, 100)};
    QTest::newRow("two screens: first left") << QSize(400, 100) << two << QPoint(10, 40) << topLeft;
    QTest::newRow("two screens: first right") << QSize(400, 100) << two << QPoint(190, 90) << bottomRight;
    QTest::newRow("two screens: second left") << QSize(400, 100) << two << QPoint(210, 40) << topLeft;
    QTest::newRow("two screens: second right") << QSize(400, 100) << two << QPoint(390, 90) << bottomRight;
    // Screens of different size: no screen there, nothing drawn.
    const QList<QRect> unequal{QRect(0, 0, 200, 100), QRect(200, 0, 100, 50)};
    QTest::newRow("unequal: beside the small one") << QSize(300, 100) << unequal << QPoint(250, 80)
                                                   << QColor(Qt::black);
    QTest::newRow("unequal: small one") << QSize(300, 100) << unequal << QPoint(295, 45) << bottomRight;
}

void tst_RootWindowWallpaper::compose()
{
    QFETCH(QSize, rootSize);
    QFETCH(QList<QRect>, screens);
    QFETCH(QPoint, point);
    QFETCH(QColor, expected);

    QImage picture = quarters(QSize(200, 100));
    QPainter(&picture).fillRect(0, 0, 200, 20, Qt::black);
    const QImage composed = WallpaperPicture::compose(picture, rootSize, screens);
    QCOMPARE(composed.size(), rootSize);
    QVERIFY2(near(composed.pixelColor(point), expected, 2), describe(composed.pixelColor(point)));
}

void tst_RootWindowWallpaper::shownOnTheRootWindow()
{
    const QString path = imagePath(QStringLiteral("quarters one.bmp"), quarters());
    DesktopIntegration::setWallpaper(path);

    QCOMPARE(DesktopIntegration::currentWallpaper(), path);
    const quint32 pixmap = rootPixmap(sessionDisplay(), "_XROOTPMAP_ID");
    QVERIFY(pixmap != 0);
    QCOMPARE(rootPixmap(sessionDisplay(), "ESETROOT_PMAP_ID"), pixmap);

    // The session's screen is 16:10 like the picture: each quarter fills a quarter.
    const QImage shot = screenshot(sessionDisplay());
    QCOMPARE(shot.size(), QSize(1280, 800));
    const QList<QPair<QPoint, QColor>> expected{{QPoint(320, 200), topLeft},
                                                {QPoint(960, 200), topRight},
                                                {QPoint(320, 600), bottomLeft},
                                                {QPoint(960, 600), bottomRight},
                                                {QPoint(2, 2), topLeft},
                                                {QPoint(1277, 797), bottomRight}};
    for (const auto &point : expected)
        QVERIFY2(shot.pixelColor(point.first) == point.second, describe(shot.pixelColor(point.first)));

    // Without a compositor the desktop background paints this picture: it must
    // match what the root window shows.
    const QImage painted = DesktopIntegration::wallpaperPicture(path, QSize(1280, 800));
    for (const auto &point : expected)
        QCOMPARE(painted.pixelColor(point.first), point.second);
}

// Two monitors side by side on the session's root window, each with a picture of
// its own shape; what the root window shows is read back per monitor.
void tst_RootWindowWallpaper::eachScreenItsOwnPicture()
{
    const QRect left(0, 0, 640, 800), right(640, 0, 640, 800);
    const QImage wide = quarters(QSize(320, 200));
    QImage tall(200, 320, QImage::Format_RGB32);
    tall.fill(QColor(90, 40, 160));
    QVERIFY(RootWindowWallpaper::set(sessionDisplay().toLatin1(), {{left, wide}, {right, tall}}));

    const QImage shot = screenshot(sessionDisplay());
    // The wide picture covers its tall monitor: its middle, the sides cut off.
    QVERIFY2(near(shot.pixelColor(100, 100), topLeft, 2), describe(shot.pixelColor(100, 100)));
    QVERIFY2(near(shot.pixelColor(540, 700), bottomRight, 2), describe(shot.pixelColor(540, 700)));
    for (const QPoint point : {QPoint(650, 10), QPoint(1270, 790)})
        QVERIFY2(near(shot.pixelColor(point), QColor(90, 40, 160), 2), describe(shot.pixelColor(point)));

    const QImage rightShown = RootWindowWallpaper::shownIn(sessionDisplay().toLatin1(), right);
    QCOMPARE(rightShown.size(), right.size());
    QVERIFY(near(rightShown.pixelColor(0, 0), QColor(90, 40, 160), 2));
    QCOMPARE(RootWindowWallpaper::shownIn(sessionDisplay().toLatin1(), left).pixelColor(100, 100), shot.pixelColor(100, 100));
    // Beyond the root window there is nothing to read.
    QVERIFY(RootWindowWallpaper::shownIn(sessionDisplay().toLatin1(), QRect(1000, 0, 640, 800)).isNull());
}

void tst_RootWindowWallpaper::settingAgainFreesThePreviousPixmap()
{
    XcbConnection x;
    DesktopIntegration::setWallpaper(imagePath(QStringLiteral("quarters one.bmp"), quarters()));
    const quint32 first = rootPixmap(sessionDisplay(), "_XROOTPMAP_ID");
    QVERIFY(x.pixmapExists(first));

    QImage second = quarters();
    second.invertPixels();
    const QString secondPath = imagePath(QStringLiteral("quarters two.bmp"), second);
    DesktopIntegration::setWallpaper(secondPath);
    const quint32 replacement = rootPixmap(sessionDisplay(), "_XROOTPMAP_ID");
    QVERIFY(replacement != 0);
    QVERIFY(replacement != first);
    QCOMPARE(rootPixmap(sessionDisplay(), "ESETROOT_PMAP_ID"), replacement);
    QVERIFY(x.pixmapExists(replacement));
    QVERIFY2(!x.pixmapExists(first), "the previous wallpaper pixmap stays in the server");
    QCOMPARE(DesktopIntegration::currentWallpaper(), secondPath);
    QCOMPARE(screenshot(sessionDisplay()).pixelColor(320, 200),
             QColor(255 - topLeft.red(), 255 - topLeft.green(), 255 - topLeft.blue()));
}

// A pixmap that only _XROOTPMAP_ID names may belong to a program that still
// runs; freeing it would mean killing that program's connection.
void tst_RootWindowWallpaper::pixmapOfARunningProgramIsLeftAlone()
{
    XcbConnection other;
    QVERIFY(other.alive());
    const xcb_pixmap_t pixmap = xcb_generate_id(other.connection);
    xcb_create_pixmap(other.connection, 24, pixmap, other.root(), 16, 16);
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        other.connection, xcb_intern_atom(other.connection, 0, 13, "_XROOTPMAP_ID"), nullptr);
    QVERIFY(atom);
    xcb_change_property(other.connection, XCB_PROP_MODE_REPLACE, other.root(), atom->atom,
                        XCB_ATOM_PIXMAP, 32, 1, &pixmap);
    free(atom);
    QVERIFY(other.alive());
    QCOMPARE(rootPixmap(sessionDisplay(), "_XROOTPMAP_ID"), quint32(pixmap));
    QVERIFY(rootPixmap(sessionDisplay(), "ESETROOT_PMAP_ID") != pixmap);

    DesktopIntegration::setWallpaper(imagePath(QStringLiteral("quarters one.bmp"), quarters()));

    QVERIFY(rootPixmap(sessionDisplay(), "_XROOTPMAP_ID") != pixmap);
    QVERIFY2(other.alive(), "the other program's connection was killed");
    QVERIFY(other.pixmapExists(pixmap));
}

void tst_RootWindowWallpaper::pathThatShowsNoPictureKeepsTheDesktop_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("a missing file") << "no such design.bmp";
    QTest::newRow("the empty path") << "";
    QTest::newRow("a directory") << "a folder";
    QTest::newRow("a file that is no picture") << "notes.bmp";
}

void tst_RootWindowWallpaper::pathThatShowsNoPictureKeepsTheDesktop()
{
    QFETCH(QString, name);
    const QString shown = imagePath(QStringLiteral("quarters one.bmp"), quarters());
    DesktopIntegration::setWallpaper(shown);
    const quint32 before = rootPixmap(sessionDisplay(), "_XROOTPMAP_ID");
    QDir(images.path()).mkdir(QStringLiteral("a folder"));
    QFile notes(images.filePath(QStringLiteral("notes.bmp")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("no picture\n");
    notes.close();

    DesktopIntegration::setWallpaper(name.isEmpty() ? QString() : images.filePath(name));

    // The desktop background paints the current wallpaper behind its page: it
    // must stay the picture that the root window shows.
    QCOMPARE(DesktopIntegration::currentWallpaper(), shown);
    QCOMPARE(rootPixmap(sessionDisplay(), "_XROOTPMAP_ID"), before);
    QCOMPARE(screenshot(sessionDisplay()).pixelColor(320, 200), topLeft);
    // A picture that cannot be read is painted black, so it must never be current.
    const QImage painted = DesktopIntegration::wallpaperPicture(images.filePath(name), QSize(64, 40));
    QCOMPARE(painted.size(), QSize(64, 40));
    QCOMPARE(painted.pixelColor(32, 20), QColor(Qt::black));
}

// The root window names no file: a picture that another program left there is
// kept as a copy in the program's data directory and comes back from it.
void tst_RootWindowWallpaper::keepsACopyOfAPictureOnlyTheRootWindowHolds()
{
    QImage picture = quarters(QSize(1280, 800));
    RootWindowWallpaper::set(sessionDisplay().toLatin1(), picture, {});
    QFile::remove(WallpaperRecord::filePath());

    const QString kept = DesktopIntegration::keepWallpaper();
    QVERIFY2(kept.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + QLatin1String("/Morvaleen/Zintello/")),
             qPrintable(kept));
    QCOMPARE(QImage(kept).convertToFormat(QImage::Format_RGB32), picture);

    QImage other = quarters();
    other.invertPixels();
    DesktopIntegration::setWallpaper(imagePath(QStringLiteral("quarters two.bmp"), other));
    QVERIFY(screenshot(sessionDisplay()).pixelColor(320, 200) != topLeft);

    DesktopIntegration::restoreWallpaper(kept);
    QCOMPARE(screenshot(sessionDisplay()), picture);
    QCOMPARE(DesktopIntegration::currentWallpaper(), kept);
    // Kept again, the copy is the wallpaper: no new copy of the root window.
    QCOMPARE(DesktopIntegration::keepWallpaper(), kept);
}

void tst_RootWindowWallpaper::visuals_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("tolerance");

    QTest::newRow("24 bits") << 24 << true << 0;
    QTest::newRow("16 bits, 5-6-5") << 16 << true << 8;
    QTest::newRow("15 bits, 5-5-5") << 15 << true << 8;
    QTest::newRow("30 bits, 10 per channel") << 30 << true << 3;
    QTest::newRow("8 bits, pseudo colour") << 8 << false << 0;
}

void tst_RootWindowWallpaper::visuals()
{
    QFETCH(int, depth);
    QFETCH(bool, shown);
    QFETCH(int, tolerance);

    XServer server(depth);
    QVERIFY2(!server.display.isEmpty(), "Xvfb did not start");

    const bool set = RootWindowWallpaper::set(server.display.toLatin1(), quarters(), {});
    QCOMPARE(set, shown);
    const quint32 pixmap = rootPixmap(server.display, "_XROOTPMAP_ID");
    QCOMPARE(pixmap != 0, shown);
    if (!shown)
        return;
    QCOMPARE(rootPixmap(server.display, "ESETROOT_PMAP_ID"), pixmap);
    const QImage shot = screenshot(server.display);
    QCOMPARE(shot.size(), QSize(320, 200));
    // What the root window shows, read back as a program that keeps a copy does.
    const QImage readBack = RootWindowWallpaper::shown(server.display.toLatin1());
    QCOMPARE(readBack.size(), QSize(320, 200));
    const QList<QPair<QPoint, QColor>> expected{{QPoint(80, 50), topLeft},
                                                {QPoint(240, 50), topRight},
                                                {QPoint(80, 150), bottomLeft},
                                                {QPoint(240, 150), bottomRight}};
    for (const auto &point : expected) {
        const QColor actual = shot.pixelColor(point.first);
        QVERIFY2(near(actual, point.second, tolerance),
                 describe(actual) + " instead of " + describe(point.second));
        QCOMPARE(readBack.pixelColor(point.first), actual);
        // Qt reads RGB32 as opaque only where the unused byte is full: scaling or
        // converting the picture would show anything else.
        const QRgb stored = reinterpret_cast<const QRgb *>(readBack.constScanLine(point.first.y()))[point.first.x()];
        QCOMPARE(qAlpha(stored), 255);
    }
}

QTEST_MAIN(tst_RootWindowWallpaper)
#include "tst_rootwindowwallpaper.moc"
