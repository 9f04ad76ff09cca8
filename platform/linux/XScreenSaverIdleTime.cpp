#include "XScreenSaverIdleTime.h"

#include <QString>
#include <QX11Info>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

std::unique_ptr<XScreenSaverIdleTime> XScreenSaverIdleTime::create()
{
    if (!QX11Info::isPlatformX11() || !QX11Info::display())
        return nullptr;
    // Xwayland sees only the input that goes to X clients: typing into any
    // Wayland window would count as idle time.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(QX11Info::display(), &eventBase, &errorBase))
        return nullptr;
    return std::unique_ptr<XScreenSaverIdleTime>(new XScreenSaverIdleTime(XScreenSaverAllocInfo()));
}

XScreenSaverIdleTime::XScreenSaverIdleTime(void *info)
    : info(info)
{
}

XScreenSaverIdleTime::~XScreenSaverIdleTime()
{
    XFree(info);
}

qint64 XScreenSaverIdleTime::idleMilliseconds()
{
    auto *saverInfo = static_cast<XScreenSaverInfo *>(info);
    if (!saverInfo || !XScreenSaverQueryInfo(QX11Info::display(), QX11Info::appRootWindow(), saverInfo))
        return -1;
    return qint64(saverInfo->idle);
}
