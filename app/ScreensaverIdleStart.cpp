#include "ScreensaverIdleStart.h"

#include "DesktopIntegration.h"
#include "DesktopProgramSettings.h"
#include "IdleStartSchedule.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTimer>

#include <limits>

int ScreensaverIdleStart::storedMinutes()
{
    return qMax(0, QSettings().value(DesktopProgramSettings::screensaverMinutesKey,
                                        DesktopProgramSettings::screensaverMinutesDefault).toInt());
}

void ScreensaverIdleStart::storeMinutes(int minutes)
{
    QSettings().setValue(DesktopProgramSettings::screensaverMinutesKey, minutes);
}

ScreensaverIdleStart::ScreensaverIdleStart(QObject *parent)
    : QObject(parent)
    , possible(DesktopIntegration::watchSessionIdleness())
    , timer(new QTimer(this))
{
    timer->setSingleShot(true);
    // Minutes are the unit here: let the system bundle this wake-up with others.
    timer->setTimerType(Qt::VeryCoarseTimer);
    connect(timer, &QTimer::timeout, this, &ScreensaverIdleStart::look);
    look();
}

void ScreensaverIdleStart::look()
{
    timer->stop();
    if (!possible || show)
        return;
    // Read at every look, so that a changed choice counts from the next one on.
    const qint64 startAfterMs = qint64(storedMinutes()) * 60000;
    DesktopIntegration::announceSessionIdleAfter(startAfterMs, this, [this] { look(); });
    // Asked first: the end of a request to stay awake counts as activity.
    const bool keptAwake = DesktopIntegration::sessionKeptAwake();
    qint64 idleMs = DesktopIntegration::sessionIdleMilliseconds();
    if (idleMs >= 0 && sinceShowEnded.isValid())
        idleMs = qMin(idleMs, sinceShowEnded.elapsed());
    const IdleStartSchedule::Step step = IdleStartSchedule::next(idleMs, startAfterMs, keptAwake);
    if (step.startShow)
        startShow();
    else if (step.waitMs >= 0)
        timer->start(int(qMin<qint64>(step.waitMs, std::numeric_limits<int>::max())));
}

QProcess *ScreensaverIdleStart::startScreensaver(const QString &saverSwitch, QObject *parent)
{
    auto *process = new QProcess(parent);
    // Nobody reads the screensaver's diagnostics: pass them on rather than let a
    // full pipe stop it.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QStringLiteral("/ZINTELLO.scr")),
                   {saverSwitch}, QIODevice::ReadWrite);
    return process;
}

void ScreensaverIdleStart::startShow()
{
    show = startScreensaver(QStringLiteral("/s"), this);
    connect(show, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &ScreensaverIdleStart::showEnded);
    connect(show, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            showEnded();
    });
}

void ScreensaverIdleStart::showEnded()
{
    if (show)
        show->deleteLater();
    show = nullptr;
    sinceShowEnded.start();
    look();
}
