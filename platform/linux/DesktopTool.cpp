#include "DesktopTool.h"

#include <QProcess>

namespace {

// The tools answer at once; the bound only keeps a stuck desktop from freezing the program.
const int toolTimeoutMs = 10000;

bool runTool(QProcess &tool, const QString &program, const QStringList &arguments)
{
    tool.setProcessChannelMode(QProcess::SeparateChannels);
    tool.start(program, arguments, QIODevice::ReadOnly);
    if (!tool.waitForFinished(toolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished(1000);
        return false;
    }
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

} // namespace

QString DesktopTool::output(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    if (!runTool(tool, program, arguments))
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

bool DesktopTool::run(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    return runTool(tool, program, arguments);
}
