#include "SaverCommandLine.h"

#include <QtTest>

Q_DECLARE_METATYPE(SaverCommandLine::Mode)

class tst_SaverCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void grammar_data();
    void grammar();
    void rejectionMessageListsEveryArgument();
    void informationText_data();
    void informationText();
};

void tst_SaverCommandLine::grammar_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<SaverCommandLine::Mode>("mode");
    QTest::addColumn<bool>("accepted");

    const auto Show = SaverCommandLine::Show;
    const auto Configure = SaverCommandLine::Configure;
    const auto Preview = SaverCommandLine::Preview;

    // Arguments as typed, separated by spaces.
    QTest::newRow("no arguments") << "" << Configure << true;
    QTest::newRow("/s") << "/s" << Show << true;
    QTest::newRow("/S") << "/S" << Show << true;
    QTest::newRow("-s") << "-s" << Show << true;
    QTest::newRow("xs") << "xs" << Show << true;
    QTest::newRow("/sanything") << "/sanything" << Show << true;
    QTest::newRow("/c") << "/c" << Configure << true;
    QTest::newRow("/C") << "/C" << Configure << true;
    QTest::newRow("/c:1234") << "/c:1234" << Configure << true;
    QTest::newRow("/c:abc handle not read") << "/c:abc" << Configure << true;
    QTest::newRow("/p 1234") << "/p 1234" << Preview << true;
    QTest::newRow("/p:1234") << "/p:1234" << Preview << true;
    QTest::newRow("/P 0") << "/P 0" << Preview << true;
    QTest::newRow("/p 4294967295 fits 32 bits") << "/p 4294967295" << Preview << true;
    QTest::newRow("/p 4294967296 too large") << "/p 4294967296" << Preview << false;
    QTest::newRow("/p -1") << "/p -1" << Preview << false;
    QTest::newRow("/p abc") << "/p abc" << Preview << false;
    QTest::newRow("/p:abc") << "/p:abc" << Preview << false;
    QTest::newRow("/p alone") << "/p" << Preview << false;
    QTest::newRow("/p: alone") << "/p:" << Preview << false;
    QTest::newRow("/p: 5 needs a character after the colon") << "/p: 5" << Preview << true;
    QTest::newRow("/p:x 5 colon form wins") << "/p:x 5" << Preview << false;
    QTest::newRow("s one character") << "s" << Configure << false;
    QTest::newRow("/s x ends at x") << "/s x" << Show << true;
    QTest::newRow("x /s ends before /s") << "x /s" << Configure << false;
    QTest::newRow("/a 1234") << "/a 1234" << Configure << false;
    QTest::newRow("/q") << "/q" << Configure << false;
    QTest::newRow("/p 1234 /s later switch wins") << "/p 1234 /s" << Show << true;
    QTest::newRow("/p abc /s") << "/p abc /s" << Show << true;
    QTest::newRow("/s /p abc") << "/s /p abc" << Preview << false;
    QTest::newRow("/s /c") << "/s /c" << Configure << true;
    QTest::newRow("/p 7 /s one-digit handle ends the scan") << "/p 7 /s" << Preview << true;
    QTest::newRow("/p 1s handle examined in its own turn") << "/p 1s" << Show << true;
    QTest::newRow("/p 12 handle with a digit second") << "/p 12" << Preview << true;
    // U+017F (long s) upper-cases to "S"; it is still no switch.
    QTest::newRow("second character above U+00FF") << QString::fromUtf8("/\u017f") << Configure << false;
    QTest::newRow("Latin-1 letter that is no switch") << QString::fromUtf8("/\u00e7") << Configure << false;
}

void tst_SaverCommandLine::grammar()
{
    QFETCH(QString, arguments);
    QFETCH(SaverCommandLine::Mode, mode);
    QFETCH(bool, accepted);

    QStringList list{QStringLiteral("ZINTELLO.scr")};
    if (!arguments.isEmpty())
        list += arguments.split(QLatin1Char(' '));
    const SaverCommandLine commandLine(list);
    QCOMPARE(commandLine.isAccepted(), accepted);
    QCOMPARE(commandLine.mode(), mode);
}

void tst_SaverCommandLine::rejectionMessageListsEveryArgument()
{
    const QStringList arguments{QStringLiteral("C:\\Program Files\\ZINTELLO\\ZINTELLO.scr"),
                                QStringLiteral("/p"), QStringLiteral("abc def")};
    QCOMPARE(SaverCommandLine::rejectionMessage(arguments),
             QStringLiteral("Couldn't parse command line:\n"
                            "C:\\Program Files\\ZINTELLO\\ZINTELLO.scr\n/p\nabc def"));
}

void tst_SaverCommandLine::informationText_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("beginning");

    // Each of these would otherwise be a rejected command line or a switch.
    QTest::newRow("--help") << "--help" << "Usage: ZINTELLO.scr";
    QTest::newRow("-h") << "-h" << "Usage: ZINTELLO.scr";
    QTest::newRow("after a switch") << "/s --help" << "Usage: ZINTELLO.scr";
    QTest::newRow("--version") << "--version" << "ZINTELLO.scr " ZINTELLO_VERSION "\n";
    QTest::newRow("switches alone") << "/s /c" << QString();
    QTest::newRow("no arguments") << "" << QString();
}

void tst_SaverCommandLine::informationText()
{
    QFETCH(QString, arguments);
    QFETCH(QString, beginning);
    QStringList list{QStringLiteral("ZINTELLO.scr")};
    if (!arguments.isEmpty())
        list += arguments.split(QLatin1Char(' '));
    const QString text = SaverCommandLine::informationText(list);
    if (beginning.isEmpty())
        QVERIFY2(text.isEmpty(), qPrintable(text));
    else
        QVERIFY2(text.startsWith(beginning), qPrintable(text));
}

QTEST_APPLESS_MAIN(tst_SaverCommandLine)
#include "tst_savercommandline.moc"
