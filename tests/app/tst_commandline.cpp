#include "CommandLine.h"

#include <QtTest>

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void asksToQuit_data();
    void asksToQuit();
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
    QTest::newRow("--quit has a minus second") << QStringList{"zintello", "--quit"} << false;
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

QTEST_APPLESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
