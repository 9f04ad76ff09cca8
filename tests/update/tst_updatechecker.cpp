#include "ManifestServer.h"
#include "OfflineNetwork.h"
#include "TestIdentity.h"
#include "UpdateChecker.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPushButton>
#include <QSettings>
#include <QSpacerItem>
#include <QtTest>

namespace {

const QString productSite = QStringLiteral("http://zintello.morvaleen.de/");
const QString defaultTitle = QStringLiteral("A new version of ZINTELLO is available");
QString defaultInfo(const QString &version)
{
    return QStringLiteral("ZINTELLO %1 is now available - you have " ZINTELLO_VERSION ". Would you like to download it now?")
        .arg(version);
}

// A byte string with the zero bytes inside it.
template<int size>
QByteArray bytes(const char (&text)[size])
{
    return QByteArray(text, size - 1);
}

QStringList debugMessages;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg)
        debugMessages.append(message);
    previousHandler(type, context, message);
}

// What the test saw of a message box while it was open.
struct ShownBox
{
    QString windowTitle;
    QString text;
    QString informativeText;
    QString detailedText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // "text: role", sorted
    QString defaultButton;
    QString escapeButton;
    bool widenedByLastRow = false;
    int width = 0;
};

QString describeButton(QMessageBox *box, QAbstractButton *button)
{
    return button ? QStringLiteral("%1: %2").arg(button->text()).arg(box->buttonRole(button)) : QString();
}

// Answers every message box that opens, as a user would, after noting what
// it shows.
class MessageBoxAnswerer : public QObject
{
public:
    explicit MessageBoxAnswerer(const QString &answer)
        : answer(answer)
    {
        connect(&timer, &QTimer::timeout, this, &MessageBoxAnswerer::look);
        timer.start(20);
    }

    QList<ShownBox> shown;

private:
    void look()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (box && box->isVisible()) {
                note(box);
                respond(box);
            }
        }
    }

    void note(QMessageBox *box)
    {
        ShownBox seen;
        seen.windowTitle = box->windowTitle();
        seen.text = box->text();
        seen.informativeText = box->informativeText();
        seen.detailedText = box->detailedText();
        seen.icon = box->icon();
        for (QAbstractButton *button : box->buttons())
            seen.buttons.append(describeButton(box, button));
        seen.buttons.sort();
        seen.defaultButton = describeButton(box, box->defaultButton());
        seen.escapeButton = describeButton(box, box->escapeButton());
        seen.width = box->width();

        // A 500 x 0 spacer alone in a row below all others, across all columns.
        if (auto *grid = qobject_cast<QGridLayout *>(box->layout())) {
            for (int index = 0; index < grid->count(); ++index) {
                QSpacerItem *spacer = grid->itemAt(index)->spacerItem();
                if (!spacer || spacer->sizeHint() != QSize(500, 0))
                    continue;
                int row, column, rowSpan, columnSpan;
                grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
                seen.widenedByLastRow = row == grid->rowCount() - 1 && column == 0 && rowSpan == 1
                                        && columnSpan == grid->columnCount()
                                        && spacer->sizePolicy().horizontalPolicy() == QSizePolicy::Minimum
                                        && spacer->sizePolicy().verticalPolicy() == QSizePolicy::Expanding;
            }
        }
        shown.append(seen);
    }

    void respond(QMessageBox *box)
    {
        if (answer == QLatin1String("Escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else if (answer == QLatin1String("Close")) {
            box->close();
        } else {
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == answer)
                    button->click();
            }
        }
        // Whatever happens, the test must not hang on an open box.
        if (box->isVisible())
            box->reject();
    }

    const QString answer;
    QTimer timer;
};

} // namespace

// Receives what the checker hands to the desktop's URL opener.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void openUrl(const QUrl &url) { opened.append(url); }
};

class tst_UpdateChecker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void asksForTheManifestThroughTheSystemProxy();
    void noAnswerIsReportedAsAFailedCheck();

    void offersTheGreatestNewKey_data();
    void offersTheGreatestNewKey();

    void messageBoxShowsTheEntry_data();
    void messageBoxShowsTheEntry();

    void answersAreRemembered_data();
    void answersAreRemembered();

    void readsBodiesUpToOneMebibyte_data();
    void readsBodiesUpToOneMebibyte();

    void releasesEachReply();

    void decidesByVersionAndQuietTime_data();
    void decidesByVersionAndQuietTime();

private:
    // Runs one check against the server's response and answers the box, if any.
    void check(const QString &answer);
    void presetSettings(const QStringList &ignoredKeys, const QVariant &lastMessageAgo);

    ManifestServer server;
    UrlRecorder urls;
    QList<ShownBox> shown;
    QDateTime checkStarted;
    QDateTime checkFinished;
};

void tst_UpdateChecker::initTestCase()
{
    TestIdentity::desktopProgram();

    QVERIFY(server.start());
    qunsetenv("no_proxy");
    qunsetenv("NO_PROXY");
    qputenv("http_proxy", server.proxyUrl());
    // As the desktop program's entry does before it makes the checker.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    // Nothing may leave this machine: the manifest's host must go through the server.
    const QList<QNetworkProxy> proxies =
        QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(QUrl(UpdateChecker::manifestUrl)));
    QVERIFY(!proxies.isEmpty());
    QCOMPARE(proxies.first().type(), QNetworkProxy::HttpProxy);
    QCOMPARE(proxies.first().hostName(), QStringLiteral("127.0.0.1"));
    QCOMPARE(proxies.first().port(), server.serverPort());

    // Also keeps the test from starting a browser.
    for (const char *scheme : {"http", "https", "file", "ftp", "mailto", "smb", "javascript"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &urls, "openUrl");

    previousHandler = qInstallMessageHandler(recordMessage);
}

void tst_UpdateChecker::init()
{
    QSettings().clear();
    urls.opened.clear();
    debugMessages.clear();
    shown.clear();
}

void tst_UpdateChecker::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
    for (const char *scheme : {"http", "https", "file", "ftp", "mailto", "smb", "javascript"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void tst_UpdateChecker::check(const QString &answer)
{
    MessageBoxAnswerer answerer(answer);
    UpdateChecker checker(nullptr);
    const int requestsBefore = server.requestLines().size();

    checkStarted = QDateTime::currentDateTime();
    checker.checkForUpdates();
    // Handled means: the request was answered and its reply released.
    QTRY_VERIFY_WITH_TIMEOUT(server.requestLines().size() == requestsBefore + 1
                                 && checker.findChildren<QNetworkReply *>().isEmpty(),
                             30000);
    checkFinished = QDateTime::currentDateTime();
    shown = answerer.shown;
}

void tst_UpdateChecker::presetSettings(const QStringList &ignoredKeys, const QVariant &lastMessageAgo)
{
    QSettings settings;
    if (!ignoredKeys.isEmpty())
        settings.setValue(UpdateChecker::ignoredKeysKey, ignoredKeys);
    if (lastMessageAgo.isValid())
        settings.setValue(UpdateChecker::lastUpdateMessageKey,
                          QDateTime::currentDateTime().addSecs(-lastMessageAgo.toLongLong()));
}

void tst_UpdateChecker::noAnswerIsReportedAsAFailedCheck()
{
    // Nothing listens there: the connection is refused, as when offline.
    qputenv("http_proxy", OfflineNetwork::closedProxyUrl());
    {
        UpdateChecker checker(nullptr);
        checker.checkForUpdates();
        QTRY_VERIFY_WITH_TIMEOUT(checker.findChildren<QNetworkReply *>().isEmpty(), 30000);
    }
    qputenv("http_proxy", server.proxyUrl());
    QCOMPARE(debugMessages.size(), 1);
    QVERIFY2(debugMessages.first().startsWith("Update check failed: "), qPrintable(debugMessages.first()));
}

void tst_UpdateChecker::asksForTheManifestThroughTheSystemProxy()
{
    server.setResponse(200, "{}");
    check(QString());
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(server.requestLines().last(), QByteArray("GET http://www.morvaleen.de/update.json HTTP/1.1"));
    QVERIFY(shown.isEmpty());
    QVERIFY(debugMessages.isEmpty());
}

void tst_UpdateChecker::offersTheGreatestNewKey_data()
{
    // Each entry's "Title" is its key, so the box tells which entry was offered.
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("ignoredKeys");
    QTest::addColumn<QVariant>("lastMessageAgo"); // seconds; invalid: none stored
    QTest::addColumn<QString>("offered");         // the title shown; null: no box
    QTest::addColumn<bool>("parseError");

    const QStringList none;
    const QVariant never;
    const QString nothing;

    QTest::newRow("of a and b only b is examined")
        << 200 << QByteArray(R"({"a":{"Title":"a","Version":2.0},"b":{"Title":"b","Version":1.0}})")
        << none << never << nothing << false;
    QTest::newRow("a is offered once b is ignored")
        << 200 << QByteArray(R"({"a":{"Title":"a","Version":2.0},"b":{"Title":"b","Version":1.0}})")
        << QStringList{"b"} << never << "a" << false;
    QTest::newRow("all keys ignored")
        << 200 << QByteArray(R"({"a":{"Title":"a","Version":2.0},"b":{"Title":"b","Version":3.0}})")
        << QStringList{"a", "b"} << never << nothing << false;
    QTest::newRow("ignoring compares case")
        << 200 << QByteArray(R"({"a":{"Title":"a","Version":2.0}})")
        << QStringList{"A"} << never << "a" << false;
    QTest::newRow("keys compare as text: 9 after 10, old")
        << 200 << QByteArray(R"({"9":{"Title":"9","Version":"1.0"},"10":{"Title":"10","Version":"2.0"}})")
        << none << never << nothing << false;
    QTest::newRow("keys compare as text: 9 after 10, new")
        << 200 << QByteArray(R"({"9":{"Title":"9","Version":"2.0"},"10":{"Title":"10","Version":"1.0"}})")
        << none << never << "9" << false;

    const struct {
        const char *name;
        const char *version;
        bool offered;
    } versions[] = {
        {"version string 1.2", R"("1.2")", true},
        {"version number 1.2", "1.2", true},
        {"version integer 2", "2", true},
        {"version string 1.2.1", R"("1.2.1")", false},
        {"version string abc", R"("abc")", false},
        {"version empty string", R"("")", false},
        {"version null", "null", false},
        {"version string nan", R"("nan")", false},
        {"version string 1.101", R"("1.101")", false},
        {"version number 1.101", "1.101", false},
        {"version number of this program", ZINTELLO_VERSION, false},
        {"version string 1.102", R"("1.102")", true},
        {"version number 1.102", "1.102", true},
        {"version number 1.11", "1.11", true},
    };
    for (const auto &version : versions) {
        QTest::newRow(version.name)
            << 200 << QByteArray(R"({"k":{"Title":"k","Version":)") + version.version + "}}"
            << none << never << (version.offered ? QStringLiteral("k") : nothing) << false;
    }
    QTest::newRow("version missing")
        << 200 << QByteArray(R"({"k":{"Title":"k"}})") << none << never << nothing << false;
    QTest::newRow("entry not an object")
        << 200 << QByteArray(R"({"k":"2.0"})") << none << never << nothing << false;

    const QByteArray newer = R"({"k":{"Title":"k","Version":"2.0"}})";
    QTest::newRow("last answer more than 36 hours ago")
        << 200 << newer << none << QVariant(130000) << "k" << false;
    QTest::newRow("last answer less than 36 hours ago")
        << 200 << newer << none << QVariant(129000) << nothing << false;
    QTest::newRow("last answer in the future")
        << 200 << newer << none << QVariant(-3600) << nothing << false;

    QTest::newRow("UTF-8 bytes read as Latin-1")
        << 200 << QByteArray("{\"k\":{\"Title\":\"Fr\xC3\xBChling \xE2\x82\xAC\",\"Version\":2}}")
        << none << never << QString::fromLatin1("Fr\xC3\xBChling \xE2\x82\xAC") << false;
    QTest::newRow("Latin-1 byte")
        << 200 << QByteArray("{\"k\":{\"Title\":\"caf\xE9\",\"Version\":2}}")
        << none << never << QStringLiteral("caf\u00E9") << false;
    QTest::newRow("escapes for other characters")
        << 200 << QByteArray(R"({"k":{"Title":"\u20ac \u00fc","Version":2}})")
        << none << never << QStringLiteral("\u20AC \u00FC") << false;
    QTest::newRow("JSON with an error status")
        << 500 << newer << none << never << "k" << false;
    QTest::newRow("text after a zero byte is not read")
        << 200 << newer + bytes("\0garbage") << none << never << "k" << false;
    QTest::newRow("zero byte inside the JSON")
        << 200 << bytes("{\"k\":{\"Title\":\"k\0\",\"Version\":2}}")
        << none << never << nothing << true;
    QTest::newRow("byte-order mark")
        << 200 << "\xEF\xBB\xBF" + newer << none << never << nothing << true;
    QTest::newRow("empty body") << 200 << QByteArray("") << none << never << nothing << true;
    QTest::newRow("empty body with an error status") << 404 << QByteArray() << none << never << nothing << true;
    QTest::newRow("error page")
        << 404 << QByteArray("<html><body>Not Found</body></html>") << none << never << nothing << true;
    QTest::newRow("broken JSON")
        << 200 << QByteArray(R"({"k":{"Title":"k","Version":2})") << none << never << nothing << true;
    QTest::newRow("top level a list") << 200 << QByteArray("[1,2]") << none << never << nothing << false;
    QTest::newRow("empty object") << 200 << QByteArray("{}") << none << never << nothing << false;
}

void tst_UpdateChecker::offersTheGreatestNewKey()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, ignoredKeys);
    QFETCH(QVariant, lastMessageAgo);
    QFETCH(QString, offered);
    QFETCH(bool, parseError);

    presetSettings(ignoredKeys, lastMessageAgo);
    const QVariant lastMessageBefore = QSettings().value(UpdateChecker::lastUpdateMessageKey);
    server.setResponse(status, body);
    check(QStringLiteral("Remind me later"));
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(shown.size(), offered.isNull() ? 0 : 1);
    if (!offered.isNull())
        QCOMPARE(shown.first().text, offered);
    QCOMPARE(debugMessages, parseError ? QStringList{"Error while parsing json"} : QStringList());

    QSettings settings;
    QCOMPARE(settings.value(UpdateChecker::ignoredKeysKey).toStringList(), ignoredKeys);
    const QVariant lastMessage = settings.value(UpdateChecker::lastUpdateMessageKey);
    if (offered.isNull()) {
        QCOMPARE(lastMessage, lastMessageBefore);
    } else {
        QVERIFY(lastMessage.toDateTime() >= checkStarted.addMSecs(-1000));
        QVERIFY(lastMessage.toDateTime() <= checkFinished.addMSecs(1000));
    }
}

void tst_UpdateChecker::messageBoxShowsTheEntry_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("details");

    QTest::newRow("defaults") << QByteArray(R"({"Version":"2.0"})") << defaultTitle << defaultInfo("2.0")
                              << QString();
    QTest::newRow("default text with a version number") << QByteArray(R"({"Version":1.2,"Title":"New"})")
                                                        << "New" << defaultInfo("1.2") << QString();
    QTest::newRow("all given")
        << QByteArray(R"({"Version":"2.0","Title":"ZINTELLO 2.0","Info":"Get it now.","ReleaseNotes":"- Faster\n- Prettier"})")
        << "ZINTELLO 2.0"
        << "Get it now."
        << "- Faster\n- Prettier";
    QTest::newRow("null fields give empty texts")
        << QByteArray(R"({"Version":"2.0","Title":null,"Info":null,"ReleaseNotes":null})") << ""
        << "" << QString();
    QTest::newRow("numbers and booleans as text")
        << QByteArray(R"({"Version":"2.0","Title":3,"Info":true,"ReleaseNotes":false})") << "3"
        << "true" << "false";
    QTest::newRow("containers give empty texts")
        << QByteArray(R"({"Version":"2.0","Title":{"a":1},"Info":[1]})") << "" << "" << QString();
}

void tst_UpdateChecker::messageBoxShowsTheEntry()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, title);
    QFETCH(QString, info);
    QFETCH(QString, details);

    server.setResponse(200, "{\"k\":" + entry + "}");
    check(QStringLiteral("Remind me later"));
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(shown.size(), 1);
    const ShownBox &box = shown.first();

    QCOMPARE(box.windowTitle, QString());
    QCOMPARE(box.text, title);
    QCOMPARE(box.informativeText, info);
    QCOMPARE(box.detailedText, details);
    QCOMPARE(box.icon, QMessageBox::Information);

    QStringList buttons{QStringLiteral("Ignore: %1").arg(QMessageBox::NoRole),
                        QStringLiteral("Remind me later: %1").arg(QMessageBox::DestructiveRole),
                        QStringLiteral("Download...: %1").arg(QMessageBox::YesRole)};
    if (!details.isEmpty())
        buttons.append(QStringLiteral("Show Details...: %1").arg(QMessageBox::ActionRole));
    buttons.sort();
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.defaultButton, QStringLiteral("Download...: %1").arg(QMessageBox::YesRole));
    QCOMPARE(box.escapeButton, QStringLiteral("Remind me later: %1").arg(QMessageBox::DestructiveRole));
    QVERIFY(box.widenedByLastRow);
    QVERIFY2(box.width >= 500, qPrintable(QString::number(box.width)));
}

void tst_UpdateChecker::answersAreRemembered_data()
{
    QTest::addColumn<QByteArray>("actionUrl"); // the member's JSON, or empty
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QVariant>("lastMessageAgo");
    QTest::addColumn<QUrl>("opened");
    QTest::addColumn<QStringList>("ignoredAfter");
    QTest::addColumn<bool>("quietAgain"); // "lastUpdateMessage" is now

    const QStringList kept{"x"};
    const QVariant never;
    const QVariant twoDaysAgo(2 * 24 * 3600);
    const QUrl site(productSite);

    QTest::newRow("Download... opens the product site")
        << QByteArray() << "Download..." << never << site << kept << true;
    QTest::newRow("Download... opens an http download page")
        << QByteArray(R"("http://example.org/zintello-2.0.exe")") << "Download..." << twoDaysAgo
        << QUrl("http://example.org/zintello-2.0.exe") << kept << true;
    QTest::newRow("Download... opens an https download page")
        << QByteArray(R"("https://example.org/get?v=2")") << "Download..." << never
        << QUrl("https://example.org/get?v=2") << kept << true;
    QTest::newRow("scheme in capitals")
        << QByteArray(R"("HTTPS://example.org/get")") << "Download..." << never
        << QUrl("https://example.org/get") << kept << true;
    for (const char *unsafe : {R"("file:///etc/passwd")", "\"javascript:alert(1)\"", R"("smb://host/share")",
                               R"("mailto:a@example.org")", R"("ftp://example.org/z.exe")",
                               R"("downloads/zintello.exe")", R"("")", "null", "7"}) {
        QTest::newRow(qPrintable(QStringLiteral("ActionUrl %1 opens the product site").arg(unsafe)))
            << QByteArray(unsafe) << "Download..." << never << site << kept << true;
    }
    QTest::newRow("Remind me later") << QByteArray() << "Remind me later" << twoDaysAgo << QUrl() << kept << true;
    QTest::newRow("Escape") << QByteArray() << "Escape" << never << QUrl() << kept << true;
    QTest::newRow("closing the box") << QByteArray() << "Close" << never << QUrl() << kept << true;
    QTest::newRow("Ignore keeps the time of the last answer")
        << QByteArray() << "Ignore" << twoDaysAgo << QUrl() << QStringList{"x", "k"} << false;
    QTest::newRow("Ignore stores no time")
        << QByteArray() << "Ignore" << never << QUrl() << QStringList{"x", "k"} << false;
}

void tst_UpdateChecker::answersAreRemembered()
{
    QFETCH(QByteArray, actionUrl);
    QFETCH(QString, answer);
    QFETCH(QVariant, lastMessageAgo);
    QFETCH(QUrl, opened);
    QFETCH(QStringList, ignoredAfter);
    QFETCH(bool, quietAgain);

    presetSettings({"x"}, lastMessageAgo);
    const QVariant lastMessageBefore = QSettings().value(UpdateChecker::lastUpdateMessageKey);
    QByteArray entry = R"({"Version":"2.0")";
    if (!actionUrl.isEmpty())
        entry += R"(,"ActionUrl":)" + actionUrl;
    server.setResponse(200, "{\"k\":" + entry + "}}");
    check(answer);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(shown.size(), 1);
    QCOMPARE(urls.opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{opened});
    QSettings settings;
    QCOMPARE(settings.value(UpdateChecker::ignoredKeysKey).toStringList(), ignoredAfter);
    const QVariant lastMessage = settings.value(UpdateChecker::lastUpdateMessageKey);
    if (quietAgain) {
        QVERIFY(lastMessage.toDateTime() >= checkStarted.addMSecs(-1000));
        QVERIFY(lastMessage.toDateTime() <= checkFinished.addMSecs(1000));
    } else {
        QCOMPARE(lastMessage, lastMessageBefore);
    }
}

void tst_UpdateChecker::readsBodiesUpToOneMebibyte_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("withLength");
    QTest::addColumn<bool>("offered");

    const int mebibyte = 1024 * 1024;
    QTest::newRow("exactly 1 MiB") << mebibyte << true << true;
    QTest::newRow("exactly 1 MiB, no length") << mebibyte << false << true;
    QTest::newRow("one byte more") << mebibyte + 1 << true << false;
    QTest::newRow("one byte more, no length") << mebibyte + 1 << false << false;
    QTest::newRow("64 MiB, no length") << 64 * mebibyte << false << false;
}

void tst_UpdateChecker::readsBodiesUpToOneMebibyte()
{
    QFETCH(int, size);
    QFETCH(bool, withLength);
    QFETCH(bool, offered);

    // A well-formed manifest padded with whitespace, which the reader skips.
    const QByteArray manifest = R"({"k":{"Version":"2.0"}})";
    server.setResponse(200, QByteArray(size - manifest.size(), ' ') + manifest, withLength);
    check(QStringLiteral("Remind me later"));
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(shown.size(), offered ? 1 : 0);
    QCOMPARE(debugMessages, offered ? QStringList() : QStringList{"Error while parsing json"});
    QCOMPARE(QSettings().contains(UpdateChecker::lastUpdateMessageKey), offered);
}

void tst_UpdateChecker::releasesEachReply()
{
    server.setResponse(200, R"({"k":{"Version":"1.0"}})");
    UpdateChecker checker(nullptr);
    const int requestsBefore = server.requestLines().size();
    checker.checkForUpdates();
    checker.checkForUpdates();
    checker.checkForUpdates();
    QCOMPARE(checker.findChildren<QNetworkReply *>().size(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().size(), requestsBefore + 3, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(checker.findChildren<QNetworkReply *>().size(), 0, 30000);
}

void tst_UpdateChecker::decidesByVersionAndQuietTime_data()
{
    QTest::addColumn<QVariant>("version");
    QTest::addColumn<QDateTime>("lastMessage");
    QTest::addColumn<qint64>("secondsLater"); // from lastMessage to now
    QTest::addColumn<bool>("offered");

    const QDateTime answered(QDate(2024, 3, 1), QTime(12, 0));
    QTest::newRow("no answer stored") << QVariant("2.0") << QDateTime() << qint64(0) << true;
    QTest::newRow("exactly 36 hours later") << QVariant("2.0") << answered << qint64(129600) << false;
    QTest::newRow("36 hours and a second later") << QVariant("2.0") << answered << qint64(129601) << true;
    QTest::newRow("an hour before the stored time") << QVariant("2.0") << answered << qint64(-3600) << false;
    QTest::newRow("version as float rounds just below 1.101")
        << QVariant(1.101) << QDateTime() << qint64(0) << false;
    QTest::newRow("1.102 as float stays above 1.101") << QVariant(1.102) << QDateTime() << qint64(0) << true;
}

void tst_UpdateChecker::decidesByVersionAndQuietTime()
{
    QFETCH(QVariant, version);
    QFETCH(QDateTime, lastMessage);
    QFETCH(qint64, secondsLater);
    QFETCH(bool, offered);

    const QVariantMap manifest{{"k", QVariantMap{{"Version", version}}}};
    const QDateTime now = lastMessage.isValid() ? lastMessage.addSecs(secondsLater) : QDateTime::currentDateTime();
    QCOMPARE(UpdateChecker::selectUpdate(manifest, {}, lastMessage, now), offered ? QStringLiteral("k") : QString());
}

QTEST_MAIN(tst_UpdateChecker)
#include "tst_updatechecker.moc"
