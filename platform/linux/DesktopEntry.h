#ifndef DESKTOPENTRY_H
#define DESKTOPENTRY_H

#include <QString>

// The value syntax of freedesktop Desktop Entry files: one rule for the
// autostart entry the program writes and for the menu entries written at
// installation (install/, through a build tool made from this class).
class DesktopEntry
{
public:
    // A value of type string as the file holds it.
    static QString escapedValue(const QString &value);

    // The program path as one argument of an Exec line: quoted where it has
    // characters that the Exec syntax reserves, '%' doubled.
    static QString execArgument(const QString &programFilePath);

    // The Exec value that starts the program without arguments.
    static QString execValue(const QString &programFilePath) { return escapedValue(execArgument(programFilePath)); }

private:
    DesktopEntry() = delete;
};

#endif
