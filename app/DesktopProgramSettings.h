#ifndef DESKTOPPROGRAMSETTINGS_H
#define DESKTOPPROGRAMSETTINGS_H

#include <QString>

// The desktop program's name in its settings store's path and what it keeps
// there, each key with the value it means while nothing is stored. The
// libraries keep their own entries in the same store: the cookies
// (SaveNetworkCookieJar) and the update answers (UpdateChecker).
namespace DesktopProgramSettings {

inline const QString applicationName = QStringLiteral("Zintello");

// Whether the program starts with the session.
inline const QString loginKey = QStringLiteral("loginSetting");
inline constexpr bool loginDefault = true;
// Whether the user's own wallpaper shows instead of the design's.
inline const QString wallpaperKey = QStringLiteral("wallpaperSetting");
inline constexpr bool wallpaperDefault = false;
// The user's own wallpaper, kept while the design's is shown. The misspelling
// is the stored name.
inline const QString originalWallpaperKey = QStringLiteral("orginalWallpaper");
inline const QString designNumberKey = QStringLiteral("designNumber");
inline const QString designNumberDefault = QStringLiteral(ZINTELLO_DEFAULT_DESIGN);
inline const QString firstStartKey = QStringLiteral("firstStart");
inline constexpr bool firstStartDefault = true;
// The screensaver's idle start: whole minutes, 0 for off.
inline const QString screensaverMinutesKey = QStringLiteral("screensaverMinutes");
inline constexpr int screensaverMinutesDefault = 10;

}

#endif
