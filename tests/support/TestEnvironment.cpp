#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

QString TestEnvironment::programDir()
{
    return QStringLiteral(ZINTELLO_PROGRAM_DIR);
}

QString TestEnvironment::sourceDir()
{
    return QStringLiteral(ZINTELLO_SOURCE_DIR);
}

QString TestEnvironment::run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs))
        process.kill();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool TestEnvironment::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(100);
    }
    return true;
}
