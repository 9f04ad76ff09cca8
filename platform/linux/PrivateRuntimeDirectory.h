#ifndef PRIVATERUNTIMEDIRECTORY_H
#define PRIVATERUNTIMEDIRECTORY_H

#include <QString>

// The user's private runtime directory, where the desktop program's lock, socket
// and running marker live: a directory that only this user can enter, so no other
// local user can pre-create, replace or listen on anything in it.
//
// In order: $XDG_RUNTIME_DIR, the login manager's /run/user/<uid> (where that
// variable normally points, so a start without it meets the same directory),
// else a directory of our own below the home directory, made with mode 0700.
// Each is taken only when it is a real directory (no symbolic link) owned by
// this user with no access for group or others.
class PrivateRuntimeDirectory
{
public:
    // Empty when there is no such directory.
    static QString path();

    static bool isPrivate(const QString &directory);

private:
    PrivateRuntimeDirectory() = delete;
    static QString ownFallback();
};

#endif
