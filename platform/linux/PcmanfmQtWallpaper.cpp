#include "PcmanfmQtWallpaper.h"

#include "DesktopTool.h"

#include <QSettings>
#include <QStandardPaths>

namespace {

// The profile that the LXQt session starts the desktop with.
const QString profile = QStringLiteral("lxqt");

} // namespace

QString PcmanfmQtWallpaper::current() const
{
    const QSettings settings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                 + QStringLiteral("/pcmanfm-qt/%1/settings.conf").arg(profile),
                             QSettings::IniFormat);
    return settings.value(QStringLiteral("Desktop/Wallpaper")).toString();
}

bool PcmanfmQtWallpaper::set(const QString &path)
{
    DesktopTool::run(QStringLiteral("pcmanfm-qt"),
                     {QStringLiteral("--profile=%1").arg(profile), QStringLiteral("--set-wallpaper"), path,
                      QStringLiteral("--wallpaper-mode"), QStringLiteral("zoom")});
    return true;
}
