#include "ClockJumps.h"

#include <QDBusConnection>
#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <climits>

namespace {

// A timer on the wall clock, due in the far future, that the kernel cancels
// whenever the clock is set; it is armed again after each cancellation.
bool armCancelOnSetTimer(int timer)
{
    itimerspec farFuture = {};
    farFuture.it_value.tv_sec = INT_MAX;
    return timerfd_settime(timer, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &farFuture, nullptr) == 0;
}

void watchClockSetting(ClockJumps *jumps)
{
    const int timer = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timer < 0)
        return;
    if (!armCancelOnSetTimer(timer)) {
        ::close(timer);
        return;
    }
    auto *notifier = new QSocketNotifier(timer, QSocketNotifier::Read, jumps);
    QObject::connect(notifier, &QSocketNotifier::activated, jumps, [jumps, timer] {
        quint64 expirations;
        // Fails with ECANCELED: the clock was set.
        if (::read(timer, &expirations, sizeof expirations) < 0)
            emit jumps->jumped();
        armCancelOnSetTimer(timer);
    });
    QObject::connect(notifier, &QObject::destroyed, [timer] { ::close(timer); });
}

} // namespace

ClockJumps::ClockJumps(QObject *parent)
    : QObject(parent)
{
    watchClockSetting(this);
    // The login manager announces sleep with true and the wake-up with false.
    QDBusConnection::systemBus().connect(QStringLiteral("org.freedesktop.login1"),
                                         QStringLiteral("/org/freedesktop/login1"),
                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                         QStringLiteral("PrepareForSleep"), this, SLOT(sleepChanged(bool)));
}

void ClockJumps::sleepChanged(bool goingToSleep)
{
    if (!goingToSleep)
        emit jumped();
}
