// cmake --install of this build into a fresh prefix (with a space in it): a
// complete program directory, the launcher, the icon and the command; and the
// uninstall script takes it all away again.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

class tst_Installation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void laysOutTheProgramDirectory();
    void addsLauncherIconAndCommand();
    void installsManualPages();
    void describesTheScreensaverToLockers();
    void launcherEscapesWhatExecReserves();
    void uninstallRemovesIt();

private:
    static int runCMake(const QStringList &arguments, QByteArray *output = nullptr);
    // What desktop-file-validate finds wrong with an entry: nothing for a valid one.
    static QByteArray validationProblems(const QString &entryFile);

    QTemporaryDir root;
    QString prefix;
    QString programDir;
    QString manifest;
};

int tst_Installation::runCMake(const QStringList &arguments, QByteArray *output)
{
    QProcess cmake;
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    cmake.start(ZINTELLO_CMAKE, arguments);
    if (!cmake.waitForFinished(120000))
        return -2;
    if (output)
        *output = cmake.readAll();
    return cmake.exitStatus() == QProcess::NormalExit ? cmake.exitCode() : -1;
}

QByteArray tst_Installation::validationProblems(const QString &entryFile)
{
    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"), { entryFile });
    if (!validate.waitForFinished(30000))
        return "desktop-file-validate did not finish";
    const QByteArray output = validate.readAllStandardOutput();
    return validate.exitCode() == 0 ? QByteArray() : output + " (exit code " + QByteArray::number(validate.exitCode()) + ")";
}

void tst_Installation::initTestCase()
{
    QVERIFY(root.isValid());
    prefix = root.filePath("Zintello test prefix");
    programDir = prefix + "/lib/zintello";
    // The manifest of this install is kept beside the test's own prefix.
    manifest = root.filePath("install_manifest.txt");
    QByteArray output;
    const int exitCode = runCMake({ "--install", ZINTELLO_BUILD_DIR, "--prefix", prefix }, &output);
    QVERIFY2(exitCode == 0, output.constData());
    QVERIFY(QFile::copy(QStringLiteral(ZINTELLO_BUILD_DIR) + "/install_manifest.txt", manifest));
}

void tst_Installation::laysOutTheProgramDirectory()
{
    const QFileInfo program(programDir + "/zintello");
    QVERIFY(program.isFile() && program.isExecutable());
    const QFileInfo saver(programDir + "/ZINTELLO.scr");
    QVERIFY(saver.isFile() && saver.isExecutable());
    for (const char *page : { "index.html", "settings.html", "about.html", "designs.js", "texts.js",
                              "zintello.js", "licence.html", "licences/LGPL-3.0.txt" })
        QVERIFY2(QFileInfo(programDir + "/html/" + page).size() > 0, page);
    for (const char *language : { "de", "fr", "es" })
        QVERIFY2(QFileInfo(programDir + "/translations/zintello_" + language + ".qm").size() > 0, language);
    for (int design = 1; design <= 9; ++design) {
        QCOMPARE(QFileInfo(programDir + QStringLiteral("/Wallpapers/A_design_%1.bmp").arg(design)).size(), qint64(54 + 1920 * 1080 * 3));
        QCOMPARE(QFileInfo(programDir + QStringLiteral("/Wallpapers/B_design_%1.bmp").arg(design)).size(), qint64(54 + 1280 * 1024 * 3));
        QVERIFY(QFileInfo(programDir + QStringLiteral("/html/previews/design_%1.png").arg(design)).size() > 0);
    }
}

void tst_Installation::addsLauncherIconAndCommand()
{
    const QString entryFile = prefix + "/share/applications/zintello.desktop";
    QSettings entry(entryFile, QSettings::IniFormat);
    entry.beginGroup("Desktop Entry");
    QCOMPARE(entry.value("Type").toString(), QStringLiteral("Application"));
    QCOMPARE(entry.value("Name").toString(), QStringLiteral("ZINTELLO"));
    QCOMPARE(entry.value("Icon").toString(), QStringLiteral("zintello"));
    QCOMPARE(entry.value("TryExec").toString(), programDir + "/zintello");
    // Exec is read raw: the path is quoted as one argument, space and all.
    QFile raw(entryFile);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(raw.readAll()).split('\n').contains("Exec=\"" + programDir + "/zintello\""));
    QCOMPARE(validationProblems(entryFile), QByteArray());

    QVERIFY(QFileInfo(prefix + "/share/icons/hicolor/scalable/apps/zintello.svg").size() > 0);
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        const QImage icon(prefix + QStringLiteral("/share/icons/hicolor/%1x%1/apps/zintello.png").arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
        // Drawn, not an empty square: the centre is opaque, a corner is not.
        QVERIFY(qAlpha(icon.pixel(size / 2, size / 2)) > 200);
    }
    const QFileInfo command(prefix + "/bin/zintello");
    QVERIFY(command.isSymLink());
    QCOMPARE(command.canonicalFilePath(), QFileInfo(programDir + "/zintello").canonicalFilePath());
}

void tst_Installation::installsManualPages()
{
    for (const QString &page : { QStringLiteral("zintello"), QStringLiteral("ZINTELLO.scr") }) {
        QProcess man;
        man.setProcessChannelMode(QProcess::MergedChannels);
        man.start(QStringLiteral("man"), { "--warnings", "-l", prefix + "/share/man/man1/" + page + ".1" });
        QVERIFY(man.waitForFinished(30000));
        const QString text = QString::fromUtf8(man.readAll());
        QCOMPARE(man.exitCode(), 0);
        QVERIFY2(!text.contains("warning"), qPrintable(text));
        QVERIFY2(text.contains("--help") && text.contains("--version"), qPrintable(text));
    }
}

void tst_Installation::describesTheScreensaverToLockers()
{
    // The list of screensavers that desktop screensaver dialogs offer.
    const QString entryFile = prefix + "/share/applications/screensavers/zintello-screensaver.desktop";
    QFile raw(entryFile);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(raw.readAll()).split('\n').contains("Exec=\"" + programDir + "/ZINTELLO.scr\" -root"));
    QCOMPARE(validationProblems(entryFile), QByteArray());

    // XScreenSaver's description of a hack, named after the program file.
    QFile description(prefix + "/share/xscreensaver/config/ZINTELLO.scr.xml");
    QVERIFY(description.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&description);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name().toString(), QStringLiteral("screensaver"));
    QCOMPARE(xml.attributes().value("name").toString(), QStringLiteral("ZINTELLO.scr"));
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name().toString(), QStringLiteral("command"));
    QCOMPARE(xml.attributes().value("arg").toString(), QStringLiteral("-root"));
}

void tst_Installation::launcherEscapesWhatExecReserves()
{
    // '%' starts a field code even inside quotes; '$' keeps its meaning there.
    QTemporaryDir otherRoot;
    QVERIFY(otherRoot.isValid());
    const QString otherPrefix = otherRoot.filePath("100% $HOME");
    QByteArray output;
    const int exitCode = runCMake({ "--install", ZINTELLO_BUILD_DIR, "--prefix", otherPrefix }, &output);
    QVERIFY2(exitCode == 0, output.constData());
    QString escapedDir = otherPrefix + "/lib/zintello";
    escapedDir.replace("%", "%%").replace("$", "\\\\$");
    QFile raw(otherPrefix + "/share/applications/zintello.desktop");
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(raw.readAll()).split('\n');
    QVERIFY2(lines.contains("Exec=\"" + escapedDir + "/zintello\""), qPrintable(lines.join('\n')));
    QVERIFY(lines.contains("TryExec=" + otherPrefix + "/lib/zintello/zintello"));
    QCOMPARE(validationProblems(raw.fileName()), QByteArray());
}

void tst_Installation::uninstallRemovesIt()
{
    QByteArray output;
    const int exitCode = runCMake({ "-DMANIFEST=" + manifest, "-DPROGRAM_DIR_NAME=lib/zintello",
                                    "-P", ZINTELLO_UNINSTALL_SCRIPT }, &output);
    QVERIFY2(exitCode == 0, output.constData());
    QVERIFY(!QFileInfo::exists(programDir));
    QVERIFY(!QFileInfo::exists(prefix + "/share/applications/zintello.desktop"));
    QVERIFY(!QFileInfo::exists(prefix + "/share/applications/screensavers/zintello-screensaver.desktop"));
    QVERIFY(!QFileInfo::exists(prefix + "/share/xscreensaver/config/ZINTELLO.scr.xml"));
    QVERIFY(!QFileInfo::exists(prefix + "/share/icons/hicolor/scalable/apps/zintello.svg"));
    QVERIFY(!QFileInfo::exists(prefix + "/share/icons/hicolor/48x48/apps/zintello.png"));
    QVERIFY(!QFileInfo::exists(prefix + "/share/man/man1/zintello.1"));
    QVERIFY(!QFileInfo(prefix + "/bin/zintello").isSymLink());
}

QTEST_GUILESS_MAIN(tst_Installation)
#include "tst_installation.moc"
