// Prints a Desktop Entry value for the installation's menu entries, by the
// rule the program's own autostart entry follows:
//   zintello_desktopentryvalue exec PROGRAM   the Exec value starting PROGRAM
//   zintello_desktopentryvalue string TEXT    TEXT as a value of type string
// Run by cmake --install, which knows the installed paths only then.

#include "DesktopEntry.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString kind = arguments.value(1);
    if (arguments.size() != 3 || (kind != QLatin1String("exec") && kind != QLatin1String("string"))) {
        std::fprintf(stderr, "usage: %s exec|string VALUE\n", qPrintable(arguments.value(0)));
        return 2;
    }
    const QString value = kind == QLatin1String("exec") ? DesktopEntry::execValue(arguments.at(2))
                                                        : DesktopEntry::escapedValue(arguments.at(2));
    std::fputs(value.toUtf8().constData(), stdout);
    return 0;
}
