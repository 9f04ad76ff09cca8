#ifndef IDLETIMESOURCE_H
#define IDLETIMESOURCE_H

#include <QtGlobal>

#include <functional>

// One way of asking the session how long its user has given no input.
class IdleTimeSource
{
public:
    virtual ~IdleTimeSource() = default;
    // Milliseconds since the last key press or pointer move, as far as they are
    // certain; -1 when the answer did not come.
    virtual qint64 idleMilliseconds() = 0;
    // For sources that announce that an armed idle time has passed rather than
    // tell the idle time on request: arms the time that matters (0: none),
    // replacing the last one, and calls `announced` when it has passed. The
    // sources that tell it on request need nothing armed.
    virtual void announceAfter(qint64 idleMs, std::function<void()> announced)
    {
        Q_UNUSED(idleMs)
        Q_UNUSED(announced)
    }
};

#endif
