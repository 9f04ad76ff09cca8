#ifndef WALLPAPERRECORD_H
#define WALLPAPERRECORD_H

#include <QString>

// The wallpaper last set, for desktops that keep no record of their own (a plain
// X11 root window): a small file in the user's configuration directory.
class WallpaperRecord
{
public:
    static QString filePath();

    // Empty when nothing was recorded.
    static QString read();
    // false when the record could not be saved; the previous one is then left whole.
    static bool write(const QString &path);

private:
    WallpaperRecord() = delete;
};

#endif
