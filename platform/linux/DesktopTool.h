#ifndef DESKTOPTOOL_H
#define DESKTOPTOOL_H

#include <QString>
#include <QStringList>

// A command-line tool of the desktop (gsettings, xfconf-query, swaymsg, ...), run
// to its end with a bound on the time, so that a stuck bus or a missing tool only
// makes the call fail.
class DesktopTool
{
public:
    // The tool's standard output without the surrounding white space; empty when
    // it could not run, did not end in time or reported a failure.
    static QString output(const QString &program, const QStringList &arguments);
    // Whether the tool ran and reported success.
    static bool run(const QString &program, const QStringList &arguments);

private:
    DesktopTool() = delete;
};

#endif
