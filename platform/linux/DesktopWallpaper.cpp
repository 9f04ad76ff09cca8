#include "DesktopWallpaper.h"

DesktopWallpaper::~DesktopWallpaper() = default;

KeptPicture DesktopWallpaper::keep() const
{
    return {current(), {}};
}

void DesktopWallpaper::restore(const KeptPicture &kept)
{
    set(kept.path);
}
