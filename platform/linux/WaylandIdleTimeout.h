#ifndef WAYLANDIDLETIMEOUT_H
#define WAYLANDIDLETIMEOUT_H

#include "IdleTimeSource.h"

#include <QElapsedTimer>

#include <memory>

struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;
struct org_kde_kwin_idle_timeout_listener;
struct wl_seat;

// The idle protocol that KWin and the wlroots compositors (sway) offer to
// Wayland clients, which see no input but their own. The compositor does not
// tell the idle time on request: it announces that the seat has been idle for
// an armed time, and the first input after that.
class WaylandIdleTimeout : public IdleTimeSource
{
public:
    // Null when the program does not run on Wayland or the compositor does not
    // offer the protocol.
    static std::unique_ptr<WaylandIdleTimeout> create();
    ~WaylandIdleTimeout() override;

    // Known only once the armed time has passed; before that 0, the idle time
    // that is certain. -1 while nothing is armed.
    qint64 idleMilliseconds() override;
    // The compositor counts a newly armed time from the moment it is armed, so
    // the same time is not armed again.
    void announceAfter(qint64 idleMs, std::function<void()> announced) override;

private:
    WaylandIdleTimeout(org_kde_kwin_idle *manager, wl_seat *seat);
    void release();
    static const org_kde_kwin_idle_timeout_listener listener;
    static void becameIdle(void *data, org_kde_kwin_idle_timeout *timeout);
    static void resumed(void *data, org_kde_kwin_idle_timeout *timeout);

    org_kde_kwin_idle *manager;
    wl_seat *seat;
    org_kde_kwin_idle_timeout *timeout = nullptr;
    qint64 armedMs = 0;
    // Runs while the seat is idle beyond the armed time.
    QElapsedTimer sinceIdle;
    std::function<void()> announced;
};

#endif
