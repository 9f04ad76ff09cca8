#include "DesktopIntegration.h"
#include "TestEnvironment.h"
#include "linux/AutostartEntry.h"
#include "TestIdentity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The parts of a Desktop Entry file that the session reads, parsed the way the
// Desktop Entry rules describe them: key=value lines in the [Desktop Entry]
// group, string escapes first, then the Exec line's quoting and field codes.
struct ParsedEntry
{
    QString group;
    QMap<QString, QString> values;
    QStringList duplicateKeys;
};

QString unescapeString(const QString &value)
{
    QString text;
    for (int i = 0; i < value.size(); ++i) {
        if (value.at(i) != QLatin1Char('\\') || i + 1 == value.size()) {
            text += value.at(i);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's': text += QLatin1Char(' '); break;
        case 'n': text += QLatin1Char('\n'); break;
        case 't': text += QLatin1Char('\t'); break;
        case 'r': text += QLatin1Char('\r'); break;
        case '\\': text += QLatin1Char('\\'); break;
        default: text += QLatin1Char('\\'); text += next;
        }
    }
    return text;
}

ParsedEntry parseEntry(const QByteArray &contents)
{
    ParsedEntry entry;
    const QStringList lines = QString::fromUtf8(contents).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            entry.group = line;
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        const QString key = line.left(equals);
        if (entry.values.contains(key))
            entry.duplicateKeys.append(key);
        entry.values.insert(key, unescapeString(line.mid(equals + 1)));
    }
    return entry;
}

// Splits an (unescaped) Exec value into its arguments; null on a syntax error.
QStringList execArguments(const QString &exec)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QStringList arguments;
    QString current;
    bool inArgument = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == QLatin1Char(' ')) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else if (c == QLatin1Char('"')) {
            inArgument = true;
            for (++i; i < exec.size() && exec.at(i) != QLatin1Char('"'); ++i) {
                if (exec.at(i) == QLatin1Char('\\')) {
                    if (++i == exec.size() || !QStringLiteral("\"`$\\").contains(exec.at(i)))
                        return QStringList();
                }
                current += exec.at(i);
            }
            if (i == exec.size())
                return QStringList();   // no closing quote
        } else if (reserved.contains(c)) {
            return QStringList();       // reserved characters only inside quotes
        } else {
            inArgument = true;
            current += c;
        }
    }
    if (inArgument)
        arguments.append(current);
    for (QString &argument : arguments) {
        if (argument.contains(QLatin1Char('%')))
            argument.replace(QLatin1String("%%"), QLatin1String("%"));
    }
    return arguments;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_AutostartEntry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void execLine_data();
    void execLine();
    void writtenEntryStartsTheProgram_data();
    void writtenEntryStartsTheProgram();
    void rewrittenWithTheCurrentPath();
    void removedWhenOff();
    void iconFromTheIconTheme();

private:
    QString entryPath;
};

void tst_AutostartEntry::initTestCase()
{
    TestIdentity::desktopProgram();
    // The session gives this test its own configuration directory.
    QVERIFY(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"));
    entryPath = qEnvironmentVariable("XDG_CONFIG_HOME") + QLatin1String("/autostart/zintello.desktop");
    QCOMPARE(AutostartEntry::filePath(), entryPath);
}

void tst_AutostartEntry::execLine_data()
{
    QTest::addColumn<QString>("programFilePath");
    QTest::addColumn<QString>("execLine");

    QTest::newRow("plain path") << "/opt/zintello/zintello" << "Exec=/opt/zintello/zintello";
    QTest::newRow("space") << "/home/anna/My Programs/zintello"
                           << "Exec=\"/home/anna/My Programs/zintello\"";
    QTest::newRow("single quote") << "/home/anna/it's/zintello" << "Exec=\"/home/anna/it's/zintello\"";
    // The quoting rule escapes the quote; the string rule then doubles that backslash.
    QTest::newRow("double quote") << "/home/anna/\"x\"/zintello" << "Exec=\"/home/anna/\\\\\"x\\\\\"/zintello\"";
    QTest::newRow("dollar and backtick") << "/home/$USER/`id`/zintello"
                                         << "Exec=\"/home/\\\\$USER/\\\\`id\\\\`/zintello\"";
    QTest::newRow("backslash") << "/home/a\\b/zintello" << "Exec=\"/home/a\\\\\\\\b/zintello\"";
    QTest::newRow("percent") << "/home/100%/zintello" << "Exec=/home/100%%/zintello";
    QTest::newRow("non-ASCII") << QString::fromUtf8("/home/jürgen/Grüße/zintello")
                               << QString::fromUtf8("Exec=/home/jürgen/Grüße/zintello");
    QTest::newRow("newline") << "/home/two\nlines/zintello" << "Exec=\"/home/two\\nlines/zintello\"";
}

void tst_AutostartEntry::execLine()
{
    QFETCH(QString, programFilePath);
    QFETCH(QString, execLine);

    const QStringList lines = QString::fromUtf8(AutostartEntry::contents(programFilePath))
                                  .split(QLatin1Char('\n'));
    QVERIFY2(lines.contains(execLine), qPrintable(lines.join(QLatin1String(" | "))));
    const ParsedEntry entry = parseEntry(AutostartEntry::contents(programFilePath));
    QCOMPARE(execArguments(entry.values.value(QStringLiteral("Exec"))), QStringList{programFilePath});
}

void tst_AutostartEntry::writtenEntryStartsTheProgram_data()
{
    QTest::addColumn<QString>("directoryName");

    QTest::newRow("plain") << "zintello";
    QTest::newRow("space and quotes") << "My \"new\" Program's";
    QTest::newRow("shell characters") << "$HOME `id` (x) & y; <z> | ~ * ? #";
    QTest::newRow("backslash") << "back\\slash";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Grüße 中文");
}

// The entry is written to the autostart directory, and a freedesktop launcher
// (GLib's, which GNOME-family sessions use for autostart) starts exactly the
// program at that path from it.
void tst_AutostartEntry::writtenEntryStartsTheProgram()
{
    QFETCH(QString, directoryName);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString directory = root.filePath(directoryName);
    QVERIFY(QDir().mkpath(directory));
    const QString program = directory + QLatin1String("/zintello");
    const QString marker = root.filePath(QStringLiteral("started"));
    {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$0\" > '" + QFile::encodeName(marker) + "'\n");
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    }

    DesktopIntegration::writeAutostartEntry(program);

    const ParsedEntry entry = parseEntry(readFile(entryPath));
    QCOMPARE(entry.group, QStringLiteral("[Desktop Entry]"));
    QVERIFY(entry.duplicateKeys.isEmpty());
    QCOMPARE(entry.values.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(entry.values.value(QStringLiteral("Name")), QStringLiteral("ZINTELLO"));
    QCOMPARE(entry.values.value(QStringLiteral("Icon")), QStringLiteral("zintello"));
    QCOMPARE(execArguments(entry.values.value(QStringLiteral("Exec"))), QStringList{program});

    QProcess launcher;
    launcher.start(QStringLiteral("gio"), {QStringLiteral("launch"), entryPath});
    QVERIFY(launcher.waitForFinished(30000));
    QVERIFY2(launcher.exitCode() == 0, launcher.readAllStandardError().constData());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(marker).size() > 0, 20000);
    QCOMPARE(QString::fromLocal8Bit(readFile(marker)), program);

    QCOMPARE(entry.values.value(QStringLiteral("TryExec")), program);
    QProcess validator;
    validator.start(QStringLiteral("desktop-file-validate"), {entryPath});
    QVERIFY(validator.waitForFinished(30000));
    QVERIFY2(validator.exitCode() == 0, validator.readAllStandardOutput().constData());

    // Once the program is gone, the session no longer starts anything from the entry.
    QVERIFY(QFile::remove(program));
    launcher.start(QStringLiteral("gio"), {QStringLiteral("launch"), entryPath});
    QVERIFY(launcher.waitForFinished(30000));
    QVERIFY(launcher.exitCode() != 0);
}

void tst_AutostartEntry::rewrittenWithTheCurrentPath()
{
    DesktopIntegration::writeAutostartEntry(QStringLiteral("/old/place/zintello"));
    DesktopIntegration::writeAutostartEntry(QStringLiteral("/new place/zintello"));

    const ParsedEntry entry = parseEntry(readFile(entryPath));
    QVERIFY(entry.duplicateKeys.isEmpty());
    QCOMPARE(execArguments(entry.values.value(QStringLiteral("Exec"))),
             QStringList{QStringLiteral("/new place/zintello")});
    QCOMPARE(QDir(QFileInfo(entryPath).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("zintello.desktop")});
}

void tst_AutostartEntry::removedWhenOff()
{
    const QString other = QFileInfo(entryPath).absolutePath() + QLatin1String("/other.desktop");
    {
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=Other\nExec=other\n");
    }
    DesktopIntegration::writeAutostartEntry(QStringLiteral("/opt/zintello/zintello"));
    QVERIFY(QFile::exists(entryPath));

    DesktopIntegration::removeAutostartEntry();
    QVERIFY(!QFile::exists(entryPath));
    DesktopIntegration::removeAutostartEntry();
    QVERIFY(!QFile::exists(entryPath));
    QVERIFY(QFile::exists(other));
    QFile::remove(other);
}

void tst_AutostartEntry::iconFromTheIconTheme()
{
    DesktopIntegration::writeAutostartEntry(TestEnvironment::programDir() + QLatin1String("/zintello"));
    QCOMPARE(parseEntry(readFile(entryPath)).values.value(QStringLiteral("Icon")), QStringLiteral("zintello"));
    DesktopIntegration::removeAutostartEntry();
}

QTEST_GUILESS_MAIN(tst_AutostartEntry)
#include "tst_autostartentry.moc"
