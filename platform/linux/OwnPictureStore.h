#ifndef OWNPICTURESTORE_H
#define OWNPICTURESTORE_H

#include "DesktopWallpaper.h"

class QImage;

// Where the platform keeps the user's own desktop picture beside the path that
// the program stores: the desktop's values beyond that path, and a copy of a
// picture that has no file of its own. Both live in the program's data directory
// ($XDG_DATA_HOME/Morvaleen/Zintello).
class OwnPictureStore
{
public:
    // The copy of a picture that only the desktop held.
    static QString copyPath();
    static bool saveCopy(const QImage &picture);

    static void save(const KeptPicture &kept);
    // What save() kept last; empty when nothing was kept.
    static KeptPicture load();

private:
    OwnPictureStore() = delete;
};

#endif
