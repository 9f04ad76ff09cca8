#include "ManifestServer.h"
#include "TestEnvironment.h"
#include "TestIdentity.h"
#include "UpdateChecker.h"

#include <QFile>
#include <QNetworkReply>
#include <QProcess>
#include <QtTest>

// The update check's memory against hostile answers through the proxy: a body
// without end and a gzip bomb. The process's peak resident size may grow by
// less than 8 MiB over a check that got a small manifest.
class tst_UpdateMemory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hostileAnswer_data();
    void hostileAnswer();

private:
    static qint64 peakResidentKiB();
    static void checkOnce();
};

void tst_UpdateMemory::initTestCase()
{
    TestIdentity::desktopProgram();
    qunsetenv("no_proxy");
    qunsetenv("NO_PROXY");
    // Everything that a check loads once, loaded before the measurements.
    ManifestServer server;
    QVERIFY(server.start());
    server.setResponse(200, R"({"k":{"Version":"1.0"}})");
    qputenv("http_proxy", server.proxyUrl());
    checkOnce();
}

qint64 tst_UpdateMemory::peakResidentKiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

void tst_UpdateMemory::checkOnce()
{
    UpdateChecker checker(nullptr);
    checker.checkForUpdates();
    QVERIFY(TestEnvironment::waitFor([&] { return checker.findChildren<QNetworkReply *>().isEmpty(); }, 120000));
}

void tst_UpdateMemory::hostileAnswer_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("1 GiB chunked") << "chunked";
    QTest::newRow("gzip bomb of 1 GiB") << "gzip-bomb";
}

void tst_UpdateMemory::hostileAnswer()
{
    QFETCH(QString, mode);
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start("python3", {TestEnvironment::sourceDir() + "/tests/update/hostile-manifest-server.py", mode});
    QVERIFY(server.waitForReadyRead(60000));
    qputenv("http_proxy", "http://127.0.0.1:" + server.readLine().trimmed());

    const qint64 before = peakResidentKiB();
    checkOnce();
    const qint64 growth = peakResidentKiB() - before;
    server.kill();
    server.waitForFinished();
    qInfo("peak resident size grew by %lld KiB", growth);
    QVERIFY(growth < 8 * 1024);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(tst_UpdateMemory)
#include "tst_updatememory.moc"
