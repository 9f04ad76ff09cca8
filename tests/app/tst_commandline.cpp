#include "CommandLine.h"
#include "ZintelloVersion.h"

#include <QtTest>

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void asksToQuit_data();
    void asksToQuit();
    void informationText_data();
    void informationText();
};

void tst_CommandLine::asksToQuit_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("quit");

    QTest::newRow("no arguments") << QStringList{"zintello"} << false;
    QTest::newRow("/q") << QStringList{"zintello", "/q"} << true;
    QTest::newRow("-Q") << QStringList{"zintello", "-Q"} << true;
    QTest::newRow("/quit") << QStringList{"zintello", "/quit"} << true;
    QTest::newRow("-quit") << QStringList{"zintello", "-quit"} << true;
    QTest::newRow("xq") << QStringList{"zintello", "xq"} << true;
    QTest::newRow("q is too short") << QStringList{"zintello", "q"} << false;
    QTest::newRow("--quit") << QStringList{"zintello", "--quit"} << true;
    QTest::newRow("--quitter is no quit request") << QStringList{"zintello", "--quitter"} << false;
    QTest::newRow("a /q b") << QStringList{"zintello", "a", "/q", "b"} << true;
    QTest::newRow("program name is never looked at") << QStringList{"/q"} << false;
    QTest::newRow("non-Latin-1 second character") << QStringList{"zintello", QString::fromUtf8("/\u0251")} << false;
    QTest::newRow("Latin-1 look-alike") << QStringList{"zintello", QString::fromUtf8("/\u00f1")} << false;
}

void tst_CommandLine::asksToQuit()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, quit);
    QCOMPARE(CommandLine::asksToQuit(arguments), quit);
}

void tst_CommandLine::informationText_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("beginning");

    QTest::newRow("nothing asked") << QStringList{"zintello"} << QString();
    QTest::newRow("--help") << QStringList{"zintello", "--help"} << "Usage: zintello";
    QTest::newRow("-h") << QStringList{"zintello", "-h"} << "Usage: zintello";
    QTest::newRow("--version") << QStringList{"zintello", "--version"} << "ZINTELLO " ZINTELLO_VERSION "\n";
    QTest::newRow("help wins over a quit request") << QStringList{"zintello", "/q", "--help"} << "Usage: zintello";
    QTest::newRow("help wins over version") << QStringList{"zintello", "--version", "-h"} << "Usage: zintello";
    QTest::newRow("program name is never looked at") << QStringList{"--help"} << QString();
    QTest::newRow("only the whole word") << QStringList{"zintello", "--helpme", "-hq"} << QString();
}

void tst_CommandLine::informationText()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, beginning);
    const QString text = CommandLine::informationText(arguments);
    if (beginning.isEmpty())
        QVERIFY2(text.isEmpty(), qPrintable(text));
    else
        QVERIFY2(text.startsWith(beginning), qPrintable(text));
}

QTEST_APPLESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
