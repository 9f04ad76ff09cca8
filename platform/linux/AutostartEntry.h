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

    // The file's content for a program file. The icon is the icon theme's
    // "zintello", which the installation provides.
    static QByteArray contents(const QString &programFilePath);

private:
    AutostartEntry() = delete;
};

#endif
