#ifndef GNOMEBACKGROUND_H
#define GNOMEBACKGROUND_H

#include <QString>

// The desktop background of GNOME and the desktops built on its settings: the
// keys "picture-uri" and "picture-uri-dark" of org.gnome.desktop.background,
// reached through the gsettings tool so that a missing schema or session bus
// only makes the call fail.
class GnomeBackground
{
public:
    // Whether an XDG_CURRENT_DESKTOP value names a desktop that draws its
    // background from these keys.
    static bool isGnomeFamily(const QString &currentDesktop);

    // The file path of "picture-uri"; empty when it is not a local file or
    // cannot be read.
    static QString current();

    // Sets both keys to the file's URI.
    static void set(const QString &path);

    // A string in the text form of GVariant values that gsettings reads and prints.
    static QString quotedValue(const QString &text);
    static QString unquotedValue(const QString &value);

    // The local file that a key's value names, or empty.
    static QString pathFromUri(const QString &uri);

private:
    GnomeBackground() = delete;
};

#endif
