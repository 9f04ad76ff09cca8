#ifndef DESKTOPFAMILY_H
#define DESKTOPFAMILY_H

#include <QString>

// Which desktop the session runs, as far as its wallpaper goes.
class DesktopFamily
{
public:
    enum Name { Gnome, Cinnamon, Mate, Xfce, Plasma, Lxqt, Sway, BareX11 };

    // From the session's XDG_CURRENT_DESKTOP (a colon-separated list, the most
    // specific name first), its DESKTOP_SESSION, and whether sway's socket is
    // announced; a window manager without a desktop of its own is BareX11.
    static Name of(const QString &currentDesktop, const QString &desktopSession, bool swayRunning);

private:
    DesktopFamily() = delete;
};

#endif
