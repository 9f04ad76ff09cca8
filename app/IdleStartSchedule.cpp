#include "IdleStartSchedule.h"

IdleStartSchedule::Step IdleStartSchedule::next(qint64 idleMs, qint64 startAfterMs, bool keptAwake)
{
    if (idleMs < 0 || startAfterMs <= 0)
        return {false, -1};
    if (idleMs < startAfterMs)
        return {false, startAfterMs - idleMs};
    if (keptAwake)
        return {false, qMin(startAfterMs, keptAwakeRecheckMs)};
    return {true, -1};
}
