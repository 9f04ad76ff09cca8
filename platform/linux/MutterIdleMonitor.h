#ifndef MUTTERIDLEMONITOR_H
#define MUTTERIDLEMONITOR_H

#include "IdleTimeSource.h"

#include <memory>

// GNOME's idle monitor on the session bus: the one source of idle time in a
// GNOME Wayland session, where X clients see only their own input.
class MutterIdleMonitor : public IdleTimeSource
{
public:
    // Null when no GNOME compositor offers the monitor on the session bus.
    static std::unique_ptr<MutterIdleMonitor> create();

    qint64 idleMilliseconds() override;

private:
    MutterIdleMonitor() = default;
};

#endif
