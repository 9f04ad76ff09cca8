#ifndef COMMANDLINE_H
#define COMMANDLINE_H

class QString;
class QStringList;

// The desktop program's command line: a quit request, and the questions for
// usage and version that are answered without starting anything.
class CommandLine
{
public:
    // True when any argument after the program name has "q" or "Q" as its second
    // character, or is "--quit".
    static bool asksToQuit(const QStringList &arguments);

    // The text that answers "--help", "-h" or "--version" anywhere on the command
    // line; empty when nothing of the kind is asked.
    static QString informationText(const QStringList &arguments);

private:
    CommandLine() = delete;
};

#endif
