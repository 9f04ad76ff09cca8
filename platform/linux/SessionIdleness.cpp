#include "SessionIdleness.h"

#include "FullScreenFocusedWindow.h"
#include "GnomeSessionInhibitors.h"
#include "MutterIdleMonitor.h"
#include "ScreenSaverInhibitService.h"
#include "WaylandIdleTimeout.h"
#include "XScreenSaverIdleTime.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

SessionIdleness *SessionIdleness::instance()
{
    static SessionIdleness *idleness = new SessionIdleness(QCoreApplication::instance());
    return idleness;
}

SessionIdleness::SessionIdleness(QObject *parent)
    : QObject(parent)
    , source(chooseSource())
    , inhibitService(ScreenSaverInhibitService::offer(this))
{
    clock.start();
    if (inhibitService)
        connect(inhibitService, &ScreenSaverInhibitService::released, this, &SessionIdleness::markAwakeEnded);
}

std::unique_ptr<IdleTimeSource> SessionIdleness::chooseSource()
{
    // GNOME's compositor knows the input of every client, also on Wayland; the
    // X server knows all input only where it is the display server.
    if (auto mutter = MutterIdleMonitor::create())
        return mutter;
    if (auto compositor = WaylandIdleTimeout::create())
        return compositor;
    return XScreenSaverIdleTime::create();
}

void SessionIdleness::announceIdleAfter(qint64 idleMs, QObject *context, const std::function<void()> &announced)
{
    if (!source)
        return;
    // Queued: the caller may arm another time, which must not happen while the
    // source is still handling its announcement.
    source->announceAfter(idleMs, [receiver = QPointer<QObject>(context), announced] {
        if (receiver)
            QTimer::singleShot(0, receiver, announced);
    });
}

qint64 SessionIdleness::idleMilliseconds()
{
    const qint64 sinceInput = source ? source->idleMilliseconds() : -1;
    if (sinceInput < 0 || awakeEndedAt < 0)
        return sinceInput;
    return qMin(sinceInput, clock.elapsed() - awakeEndedAt);
}

bool SessionIdleness::keptAwake()
{
    const bool awake = (inhibitService && inhibitService->isInhibited())
            || GnomeSessionInhibitors::inhibitIdleness()
            || FullScreenFocusedWindow::isShown();
    if (wasKeptAwake && !awake)
        markAwakeEnded();
    wasKeptAwake = awake;
    return awake;
}

void SessionIdleness::markAwakeEnded()
{
    awakeEndedAt = clock.elapsed();
}
