#include "linux/SettingsFileFormat.h"
#include "DesktopProgramSettings.h"
#include "SaveNetworkCookieJar.h"
#include "UpdateChecker.h"

#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// The store's file format against Qt's own INI format as the oracle: what one
// writes, the other reads back the same, so older versions of the programs and
// the current ones share one store.
class tst_SettingsFileFormat : public QObject
{
    Q_OBJECT

private slots:
    void qtReadsWhatTheFormatWrites_data() { values(); }
    void qtReadsWhatTheFormatWrites();
    void theFormatReadsWhatQtWrites_data() { values(); }
    void theFormatReadsWhatQtWrites();

private:
    static void values();
    static QVariant as(const QVariant &value, int type);
    QTemporaryDir dir;
};

QVariant tst_SettingsFileFormat::as(const QVariant &value, int type)
{
    // An empty list is stored as no value at all.
    QVariant converted = value.isValid() ? value : QVariant(type, nullptr);
    converted.convert(type);
    return converted;
}

void tst_SettingsFileFormat::values()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("int") << DesktopProgramSettings::loginKey << QVariant(2);
    QTest::newRow("bool") << DesktopProgramSettings::firstStartKey << QVariant(false);
    QTest::newRow("design number") << DesktopProgramSettings::designNumberKey << QVariant(QStringLiteral("9"));
    QTest::newRow("path with spaces") << DesktopProgramSettings::originalWallpaperKey << QVariant(QStringLiteral(" /home/a b/pic.png "));
    QTest::newRow("separators and quotes") << "text" << QVariant(QStringLiteral("a;b,c=d \"e\" \\f"));
    QTest::newRow("control characters") << "text" << QVariant(QStringLiteral("1\n2\t3\r4\a"));
    QTest::newRow("non-ASCII followed by a hex digit") << "text" << QVariant(QStringLiteral("caf\u00e9 \u20acA \u00e9b"));
    QTest::newRow("leading @") << "text" << QVariant(QStringLiteral("@ByteArray(x)"));
    QTest::newRow("empty text") << "text" << QVariant(QString(""));
    QTest::newRow("cookies") << SaveNetworkCookieJar::cookiesKey << QVariant(QByteArray(
        "design=4; expires=Sat, 01-Jan-2036 00:00:00 GMT; path=/\nlanguage=fr; path=/\n"
        "background_reset=1; path=/opt/zintello/html/\nodd=%E0%A4%A; path=/\n"));
    QTest::newRow("binary bytes") << "bytes" << QVariant(QByteArray("\0\x01\xff\x7f" "A\"\\", 8));
    QTest::newRow("list") << UpdateChecker::ignoredKeysKey << QVariant(QStringList{"1.2", "a, b", " c"});
    QTest::newRow("empty list") << UpdateChecker::ignoredKeysKey << QVariant(QStringList());
    QTest::newRow("date and time") << UpdateChecker::lastUpdateMessageKey << QVariant(QDateTime(QDate(2026, 12, 10), QTime(4, 5, 6)));
    QTest::newRow("group key") << "group/sub key/\u00fc" << QVariant(QStringLiteral("x"));
    QTest::newRow("group named General") << "General/key" << QVariant(QStringLiteral("y"));
}

void tst_SettingsFileFormat::qtReadsWhatTheFormatWrites()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QSettings::SettingsMap map{{key, value}, {QStringLiteral("other"), QStringLiteral("kept")}};
    const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".conf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(SettingsFileFormat::encode(map));
    file.close();

    QSettings qt(path, QSettings::IniFormat);
    QCOMPARE(qt.status(), QSettings::NoError);
    QCOMPARE(as(qt.value(key), value.userType()), value);
    QCOMPARE(qt.value("other").toString(), QString("kept"));
    QCOMPARE(qt.allKeys().size(), 2);
}

void tst_SettingsFileFormat::theFormatReadsWhatQtWrites()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".qt.conf");
    {
        QSettings qt(path, QSettings::IniFormat);
        qt.setValue(key, value);
        qt.setValue("other", "kept");
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QSettings::SettingsMap map;
    QVERIFY(SettingsFileFormat::decode(file.readAll(), map));
    QCOMPARE(as(map.value(key), value.userType()), value);
    QCOMPARE(map.value("other").toString(), QString("kept"));
    QCOMPARE(map.size(), 2);
}

QTEST_GUILESS_MAIN(tst_SettingsFileFormat)
#include "tst_settingsfileformat.moc"
