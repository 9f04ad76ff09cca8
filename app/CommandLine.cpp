#include "CommandLine.h"

#include "ZintelloVersion.h"

#include <QStringList>

bool CommandLine::asksToQuit(const QStringList &arguments)
{
    bool quit = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument.size() > 1 && (argument.at(1) == QLatin1Char('q') || argument.at(1) == QLatin1Char('Q')))
            quit = true;
        // The spelling users of other programs try first.
        if (argument == QLatin1String("--quit"))
            quit = true;
    }
    return quit;
}

QString CommandLine::informationText(const QStringList &arguments)
{
    const QStringList rest = arguments.mid(1);
    if (rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
        return QStringLiteral(
            "Usage: zintello [/q]\n"
            "Shows a live page as the desktop background and keeps an icon in the system tray.\n"
            "Started again, it opens the settings window of the running program.\n"
            "\n"
            "  /q, -q, --quit  end the running program\n"
            "  -h, --help      show this help and exit\n"
            "  --version       show the version and exit\n");
    }
    if (rest.contains(QLatin1String("--version")))
        return QStringLiteral("ZINTELLO " ZINTELLO_VERSION "\n");
    return QString();
}
