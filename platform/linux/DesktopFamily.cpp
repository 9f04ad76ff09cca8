#include "DesktopFamily.h"

#include "GnomeBackground.h"

#include <QStringList>

namespace {

struct KnownName
{
    const char *name;
    DesktopFamily::Name family;
};

// Names as desktops put them into XDG_CURRENT_DESKTOP and session files into
// DESKTOP_SESSION (compared without regard to case).
const KnownName knownNames[] = {
    {"X-Cinnamon", DesktopFamily::Cinnamon}, {"Cinnamon", DesktopFamily::Cinnamon},
    {"cinnamon2d", DesktopFamily::Cinnamon}, {"MATE", DesktopFamily::Mate},
    {"XFCE", DesktopFamily::Xfce},           {"xubuntu", DesktopFamily::Xfce},
    {"KDE", DesktopFamily::Plasma},          {"plasma", DesktopFamily::Plasma},
    {"plasmawayland", DesktopFamily::Plasma}, {"LXQt", DesktopFamily::Lxqt},
    {"sway", DesktopFamily::Sway},
};

bool familyOfName(const QString &name, DesktopFamily::Name *family)
{
    if (GnomeBackground::isGnomeFamily(name)) {
        *family = DesktopFamily::Gnome;
        return true;
    }
    for (const KnownName &known : knownNames) {
        if (name.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0) {
            *family = known.family;
            return true;
        }
    }
    return false;
}

} // namespace

DesktopFamily::Name DesktopFamily::of(const QString &currentDesktop, const QString &desktopSession,
                                      bool swayRunning)
{
    Name family = BareX11;
    // Some display managers give the session file's path.
    const QStringList names = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)
                              << desktopSession.section(QLatin1Char('/'), -1);
    for (const QString &name : names) {
        if (familyOfName(name, &family))
            return family;
    }
    return swayRunning ? Sway : BareX11;
}
