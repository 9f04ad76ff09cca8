#ifndef IDLETIMESOURCE_H
#define IDLETIMESOURCE_H

#include <QtGlobal>

// One way of asking the session how long its user has given no input.
class IdleTimeSource
{
public:
    virtual ~IdleTimeSource() = default;
    // Milliseconds since the last key press or pointer move; -1 when the answer
    // did not come.
    virtual qint64 idleMilliseconds() = 0;
};

#endif
