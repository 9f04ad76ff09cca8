#include "TestEnvironment.h"

#include <QProcess>

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
