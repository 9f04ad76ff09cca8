#ifndef GNOMEBACKGROUND_H
#define GNOMEBACKGROUND_H

#include <QString>

// What the desktops built on GNOME's settings have in common: which desktops they
// are, and the text form of the values that the gsettings tool reads and prints.
class GnomeBackground
{
public:
    // Whether an XDG_CURRENT_DESKTOP value names a desktop that draws its
    // background from GNOME's background keys.
    static bool isGnomeFamily(const QString &currentDesktop);

    // A string in the text form of GVariant values that gsettings reads and prints.
    static QString quotedValue(const QString &text);
    static QString unquotedValue(const QString &value);

    // The local file that a key's value names, or empty.
    static QString pathFromUri(const QString &uri);

private:
    GnomeBackground() = delete;
};

#endif
