#ifndef IDLESTARTSCHEDULE_H
#define IDLESTARTSCHEDULE_H

#include <QtGlobal>

// When the screensaver starts by itself: once the user has been idle for the
// configured time and nothing keeps the session awake. Between two looks the
// program sleeps until the earliest moment at which that can be true, since
// it runs all day.
class IdleStartSchedule
{
public:
    struct Step {
        bool startShow;
        // How long to sleep before the next look; -1: do not look again.
        qint64 waitMs;
    };

    // idleMs: as the session tells it (-1: not known); startAfterMs: the
    // configured time, 0 when starting by itself is off.
    static Step next(qint64 idleMs, qint64 startAfterMs, bool keptAwake);

    // While something keeps the session awake, how often to look again: its end
    // is not announced by every source.
    static const qint64 keptAwakeRecheckMs = 60000;

private:
    IdleStartSchedule() = delete;
};

#endif
