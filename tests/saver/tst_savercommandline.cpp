#include "SaverCommandLine.h"
#include "ZintelloVersion.h"

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
    void lockerSpellings_data();
    void lockerSpellings();
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

void tst_SaverCommandLine::lockerSpellings_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("saverWindow");
    QTest::addColumn<SaverCommandLine::Mode>("mode");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<qulonglong>("windowId");

    const auto Show = SaverCommandLine::Show;
    const auto Configure = SaverCommandLine::Configure;
    const auto InWindow = SaverCommandLine::InWindow;

    QTest::newRow("-root: the root window") << "-root" << "" << InWindow << true << 0ull;
    QTest::newRow("-root in XScreenSaver's window") << "-root" << "0x400007" << InWindow << true << 0x400007ull;
    QTest::newRow("--root as XScreenSaver passes it") << "--root" << "0x400007" << InWindow << true << 0x400007ull;
    QTest::newRow("--window-id") << "--window-id 0x2a00003" << "" << InWindow << true << 0x2a00003ull;
    QTest::newRow("-window-id hexadecimal") << "-window-id 0x2a00003" << "" << InWindow << true << 0x2a00003ull;
    QTest::newRow("-window-id upper-case hex") << "-window-id 0X2A00003" << "" << InWindow << true << 0x2a00003ull;
    QTest::newRow("-window-id decimal") << "-window-id 44040195" << "" << InWindow << true << 44040195ull;
    QTest::newRow("-window-id one digit is the id") << "-window-id 7" << "" << InWindow << true << 7ull;
    QTest::newRow("-window-id wins over the variable") << "-window-id 0x11" << "0x22" << InWindow << true << 0x11ull;
    QTest::newRow("-window-id without id") << "-window-id" << "" << InWindow << false << 0ull;
    QTest::newRow("-window-id not a number") << "-window-id abc" << "" << InWindow << false << 0ull;
    QTest::newRow("-window-id 0") << "-window-id 0" << "" << InWindow << false << 0ull;
    QTest::newRow("-window-id beyond X ids") << "-window-id 0x20000000" << "" << InWindow << false << 0ull;
    QTest::newRow("no arguments, locker's window") << "" << "0x600001" << InWindow << true << 0x600001ull;
    QTest::newRow("no arguments, variable not a number") << "" << "zz" << Configure << true << 0ull;
    QTest::newRow("/s keeps the show in the locker's session") << "/s" << "0x600001" << Show << true << 0ull;
    QTest::newRow("/s after -root: later switch wins") << "-root /s" << "" << Show << true << 0ull;
    QTest::newRow("-rootx is no locker spelling") << "-rootx" << "" << Configure << false << 0ull;
    QTest::newRow("x -root: the scan ends at x") << "x -root" << "" << Configure << false << 0ull;
}

void tst_SaverCommandLine::lockerSpellings()
{
    QFETCH(QString, arguments);
    QFETCH(QString, saverWindow);
    QFETCH(SaverCommandLine::Mode, mode);
    QFETCH(bool, accepted);
    QFETCH(qulonglong, windowId);

    QStringList list{QStringLiteral("ZINTELLO.scr")};
    if (!arguments.isEmpty())
        list += arguments.split(QLatin1Char(' '));
    const SaverCommandLine commandLine(list, saverWindow);
    QCOMPARE(commandLine.isAccepted(), accepted);
    QCOMPARE(commandLine.mode(), mode);
    if (mode == SaverCommandLine::InWindow)
        QCOMPARE(commandLine.windowId(), windowId);
}

QTEST_APPLESS_MAIN(tst_SaverCommandLine)
#include "tst_savercommandline.moc"
