#include "DesktopIntegration.h"
#include "DesktopProgramSettings.h"
#include "OfflineNetwork.h"
#include "SaveNetworkCookieJar.h"
#include "TestIdentity.h"
#include "ZintelloDesktopBackgroundWidget.h"
#include "ZintelloDesktopSettingsWindow.h"
#include "linux/SettingsFileFormat.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <memory>

// The desktop program's files on a full disk: its configuration directory is a
// small file system of its own, filled to the last byte. Runs as root in a
// mount namespace of its own (unshare -m), so the file system goes with it.
class tst_FullDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void aFullDiskLeavesTheFilesWholeAndReportsOnce();

private:
    struct Files
    {
        QByteArray store, autostartEntry, wallpaperRecord;
    };
    static Files files();
    static QVariantMap storedValues();
    static int visibleBalloons();
    void runProgram(const std::function<void(ZintelloDesktopSettingsWindow &)> &whileRunning);
    void fillTheDisk();

    QTemporaryDir mountPoint;
    bool mounted = false;
};

void tst_FullDisk::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("needs root to mount a small file system");
    QVERIFY(mountPoint.isValid());
    QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m,mode=0700", "tmpfs", mountPoint.path()}), 0);
    mounted = true;
    qputenv("HOME", mountPoint.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (mountPoint.path() + "/.config").toUtf8());
    OfflineNetwork::install();
    TestIdentity::desktopProgram();
    QApplication::setQuitOnLastWindowClosed(false);
    DesktopIntegration::useFailureSafeSettingsStore();
}

void tst_FullDisk::cleanupTestCase()
{
    if (mounted)
        QProcess::execute("umount", {mountPoint.path()});
}

tst_FullDisk::Files tst_FullDisk::files()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const auto content = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    };
    return {content(config + "/Morvaleen/Zintello.conf"), content(config + "/autostart/zintello.desktop"),
            content(config + "/Morvaleen/desktop-wallpaper")};
}

QVariantMap tst_FullDisk::storedValues()
{
    // Read from the file itself: settings objects of this process would also
    // show the changes they keep in memory.
    QSettings::SettingsMap map;
    SettingsFileFormat::decode(files().store, map);
    return map;
}

int tst_FullDisk::visibleBalloons()
{
    int count = 0;
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets)
        count += widget->isVisible() && qstrcmp(widget->metaObject()->className(), "QBalloonTip") == 0;
    return count;
}

void tst_FullDisk::runProgram(const std::function<void(ZintelloDesktopSettingsWindow &)> &whileRunning)
{
    auto window = std::make_unique<ZintelloDesktopSettingsWindow>();
    // Its settings page loads when it is first shown.
    window->show();
    QWebView *settings = window->findChild<QWebView *>("settings");
    QVERIFY(QTest::qWaitFor([&] {
        return settings->page()->mainFrame()->evaluateJavaScript("document.readyState").toString() == "complete"
                && settings->url().isLocalFile();
    }, 20000));
    whileRunning(*window);
    // Quitting: the window stores the cookies on its way out.
    window.reset();
}

void tst_FullDisk::fillTheDisk()
{
    const QByteArray path = QFile::encodeName(mountPoint.path() + "/filler");
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QVERIFY(fd >= 0);
    const QByteArray block(4096, 'x');
    for (int size = block.size(); size > 0; size /= 2) {
        while (::write(fd, block.constData(), size_t(size)) == size) {
        }
    }
    QCOMPARE(errno, ENOSPC);
    ::close(fd);
}

void tst_FullDisk::aFullDiskLeavesTheFilesWholeAndReportsOnce()
{
    const auto chooseDesign = [](const char *number) {
        return [number](ZintelloDesktopSettingsWindow &window) {
            window.findChild<QWebView *>("settings")->page()->mainFrame()->evaluateJavaScript(
                        QStringLiteral("Zintello.setCookie('design', '%1')").arg(number));
            QTest::qWait(1500);
        };
    };
    runProgram([](ZintelloDesktopSettingsWindow &) {});
    QCOMPARE(storedValues().value(DesktopProgramSettings::firstStartKey).toString(), QString("false"));
    QCOMPARE(storedValues().value(DesktopProgramSettings::designNumberKey).toString(), QString("9"));
    const Files before = files();
    QVERIFY(before.autostartEntry.startsWith("[Desktop Entry]\n"));
    QVERIFY(before.wallpaperRecord.endsWith("_design_9.bmp\n"));

    fillTheDisk();
    runProgram([&](ZintelloDesktopSettingsWindow &window) {
        chooseDesign("4")(window);
        // A second failing change is not reported again.
        chooseDesign("5")(window);
        QTRY_COMPARE(visibleBalloons(), 1);
    });
    const Files after = files();
    QCOMPARE(after.store, before.store);
    QCOMPARE(after.autostartEntry, before.autostartEntry);
    QCOMPARE(after.wallpaperRecord, before.wallpaperRecord);
    QCOMPARE(storedValues().value(DesktopProgramSettings::designNumberKey).toString(), QString("9"));
    QVERIFY(QDir(mountPoint.path() + "/.config/Morvaleen").entryList(QDir::Files | QDir::Hidden).size() == 2);

    // With room again, the next change is saved.
    QVERIFY(QFile::remove(mountPoint.path() + "/filler"));
    runProgram(chooseDesign("6"));
    QCOMPARE(storedValues().value(DesktopProgramSettings::designNumberKey).toString(), QString("6"));
    QVERIFY(storedValues().value(SaveNetworkCookieJar::cookiesKey).toByteArray().contains("design=6"));
    QVERIFY(files().wallpaperRecord.endsWith("_design_6.bmp\n"));
    QCOMPARE(files().autostartEntry, before.autostartEntry);
}

QTEST_MAIN(tst_FullDisk)
#include "tst_fulldisk.moc"
