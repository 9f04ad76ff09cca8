#ifndef COMMANDLINE_H
#define COMMANDLINE_H

class QStringList;

// The desktop program's command line: only a quit request has a meaning.
class CommandLine
{
public:
    // True when any argument after the program name has "q" or "Q" as its second
    // character.
    static bool asksToQuit(const QStringList &arguments);

private:
    CommandLine() = delete;
};

#endif
