#include "DesktopProgram.h"

#include "DesktopProgramSettings.h"
#include "OfflineNetwork.h"
#include "ProgramIdentity.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

DesktopProgram::DesktopProgram()
    : dir(TestEnvironment::programDir())
{
}

DesktopProgram::DesktopProgram(QTemporaryDir *ownDir)
    : ownDir(ownDir)
    , dir(ownDir->path())
{
    const QString built = TestEnvironment::programDir();
    QFile::copy(built + QStringLiteral("/zintello"), dir + QStringLiteral("/zintello"));
    QDir(dir).mkdir(QStringLiteral("html"));
    const QFileInfoList pages = QDir(built + QStringLiteral("/html")).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &page : pages)
        QFile::link(page.absoluteFilePath(), dir + QStringLiteral("/html/") + page.fileName());
    QFile::link(built + QStringLiteral("/Wallpapers"), dir + QStringLiteral("/Wallpapers"));
}

DesktopProgram DesktopProgram::inTemporaryDirectory(const QString &namePattern)
{
    return DesktopProgram(new QTemporaryDir(QDir::tempPath() + QLatin1Char('/') + namePattern));
}

DesktopProgram::DesktopProgram(DesktopProgram &&other)
    : ownDir(other.ownDir)
    , dir(other.dir)
    , processes(other.processes)
{
    other.ownDir = nullptr;
    other.processes.clear();
}

DesktopProgram::~DesktopProgram()
{
    for (QProcess *process : qAsConst(processes)) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
        delete process;
    }
    delete ownDir;
}

void DesktopProgram::writePage(const QString &name, const QByteArray &content) const
{
    QFile page(dir + QStringLiteral("/html/") + name);
    page.remove();
    page.open(QIODevice::WriteOnly);
    page.write(content);
}

QString DesktopProgram::programDir() const
{
    return dir;
}

QString DesktopProgram::programFile() const
{
    return dir + QStringLiteral("/zintello");
}

QProcess &DesktopProgram::start(const QStringList &arguments)
{
    auto *process = new QProcess;
    process->setProcessEnvironment(OfflineNetwork::environment());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(programFile(), arguments);
    process->waitForStarted();
    processes.append(process);
    return *process;
}

int DesktopProgram::runToEnd(const QStringList &arguments, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(OfflineNetwork::environment());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(programFile(), arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -2;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

namespace {
const QString settingsTitle = QStringLiteral("^ZINTELLO Settings$");
const int appearanceTimeout = 30000;
}

X11Desktop::WindowId DesktopProgram::waitForTrayIcon()
{
    X11Desktop::WindowId icon = 0;
    TestEnvironment::waitFor([&] { return (icon = X11Desktop::trayIcon(QStringLiteral("Zintello"))) != 0; },
                             appearanceTimeout);
    return icon;
}

bool DesktopProgram::settingsWindowVisible()
{
    return !X11Desktop::visibleWindows(settingsTitle).isEmpty();
}

X11Desktop::WindowId DesktopProgram::waitForSettingsWindow()
{
    TestEnvironment::waitFor(settingsWindowVisible, appearanceTimeout);
    const auto windows = X11Desktop::visibleWindows(settingsTitle);
    return windows.isEmpty() ? 0 : windows.first();
}

QString DesktopProgram::settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QLatin1Char('/') + ProgramIdentity::organisationName() + QLatin1Char('/')
            + DesktopProgramSettings::applicationName + QStringLiteral(".conf");
}

QVariant DesktopProgram::setting(const QString &key)
{
    return QSettings(settingsFile(), QSettings::IniFormat).value(key);
}

void DesktopProgram::clearSettings()
{
    QFile::remove(settingsFile());
}

QString DesktopProgram::runningMarkerFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
            + QStringLiteral("/de.morvaleen.zintello.innoMutex");
}

bool DesktopProgram::runningMarkerHeld()
{
    // What an installer script does.
    QProcess flock;
    flock.start(QStringLiteral("flock"), {QStringLiteral("-n"), runningMarkerFile(), QStringLiteral("true")});
    flock.waitForFinished();
    return flock.exitCode() != 0;
}
