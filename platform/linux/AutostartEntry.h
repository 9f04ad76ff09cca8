#ifndef AUTOSTARTENTRY_H
#define AUTOSTARTENTRY_H

#include <QByteArray>
#include <QString>

// Start at log-in on freedesktop desktops: a Desktop Entry file in the user's
// autostart directory ($XDG_CONFIG_HOME/autostart) that the session starts.
class AutostartEntry
{
public:
    static QString filePath();

    // Writes (or rewrites) the entry for the given program file, or removes it.
    // false when the entry could not be saved; the previous one is then left whole.
    static bool write(const QString &programFilePath);
    static void remove();

    // The file's content for a program file and an icon (a theme name or a path).
    static QByteArray contents(const QString &programFilePath, const QString &icon);

    // The program path as one argument of an Exec line: quoted where it has
    // characters that the Exec syntax reserves, '%' doubled.
    static QString execArgument(const QString &programFilePath);

    // The icon: "zintello.svg" beside the program where it exists, otherwise the
    // icon theme name "zintello" that an installed package provides.
    static QString iconFor(const QString &programFilePath);

private:
    AutostartEntry() = delete;
};

#endif
