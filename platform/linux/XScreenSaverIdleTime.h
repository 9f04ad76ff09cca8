#ifndef XSCREENSAVERIDLETIME_H
#define XSCREENSAVERIDLETIME_H

#include "IdleTimeSource.h"

#include <memory>

// The X server's own count of idle time, from the MIT-SCREEN-SAVER extension.
class XScreenSaverIdleTime : public IdleTimeSource
{
public:
    // Null when the program does not run on X11, the server lacks the extension,
    // or the X server is Xwayland inside a Wayland session.
    static std::unique_ptr<XScreenSaverIdleTime> create();
    ~XScreenSaverIdleTime() override;

    qint64 idleMilliseconds() override;

private:
    explicit XScreenSaverIdleTime(void *info);

    void *info;   // XScreenSaverInfo, kept so that each query allocates nothing
};

#endif
