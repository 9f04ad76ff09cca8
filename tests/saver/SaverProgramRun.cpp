#include "SaverProgramRun.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

SaverProgramRun::SaverProgramRun()
    : m_program(TestEnvironment::programDir() + QStringLiteral("/ZINTELLO.scr"))
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
}

SaverProgramRun::SaverProgramRun(const QList<QPair<QString, QByteArray>> &pages)
    : SaverProgramRun()
{
    const QString copy = m_dir.path() + QStringLiteral("/ZINTELLO.scr");
    QFile::copy(m_program, copy);
    m_program = copy;
    QDir(m_dir.path()).mkpath(QStringLiteral("html"));
    for (const auto &page : pages) {
        QFile file(m_dir.path() + QStringLiteral("/html/") + page.first);
        file.open(QIODevice::WriteOnly);
        file.write(page.second);
    }
}

SaverProgramRun::~SaverProgramRun()
{
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

void SaverProgramRun::start(const QStringList &arguments)
{
    m_process.start(m_program, arguments);
    m_process.waitForStarted(30000);
}

bool SaverProgramRun::waitForExit(int timeoutMs)
{
    return m_process.waitForFinished(timeoutMs);
}

QList<X11Desktop::WindowId> SaverProgramRun::visibleWindows(const QString &title) const
{
    return X11Desktop::visibleWindowsOfProcess(m_process.processId(), title);
}

X11Desktop::WindowId SaverProgramRun::waitForWindow(const QString &title, int timeoutMs) const
{
    X11Desktop::WindowId window = 0;
    TestEnvironment::waitFor([&] {
        const QList<X11Desktop::WindowId> windows = visibleWindows(title);
        return !windows.isEmpty() && (window = windows.first());
    }, timeoutMs);
    return window;
}

QByteArray SaverProgramRun::inputEchoPage()
{
    return R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>input echo</title>
<style>html, body { margin: 0; height: 100%; overflow: hidden; }</style></head>
<body><script>
var x = 1, y = 2, blue = 200;
function paint() { document.documentElement.style.background = 'rgb(' + x + ',' + y + ',' + blue + ')'; }
document.addEventListener('mousemove', function (e) { x = e.clientX & 255; y = e.clientY & 255; paint(); });
document.addEventListener('mousewheel', function (e) { blue = e.wheelDelta > 0 ? 71 : 72; paint(); });
paint();
</script></body></html>
)";
}

QColor SaverProgramRun::inputEchoColour(const QPoint &pointer, int blue)
{
    return QColor(pointer.x() & 255, pointer.y() & 255, blue);
}
