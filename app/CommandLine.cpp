#include "CommandLine.h"

#include <QStringList>

bool CommandLine::asksToQuit(const QStringList &arguments)
{
    bool quit = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument.size() > 1 && (argument.at(1) == QLatin1Char('q') || argument.at(1) == QLatin1Char('Q')))
            quit = true;
    }
    return quit;
}
