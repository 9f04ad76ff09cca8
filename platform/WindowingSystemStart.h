#ifndef WINDOWINGSYSTEMSTART_H
#define WINDOWINGSYSTEMSTART_H

class QString;

// Qt ends a program whose windowing system cannot be reached with an abort and
// several lines of advice about reinstalling it. Watched from before the
// application object is made until it exists, such a start ends instead with
// one line of the program's own and a failure status; the messages Qt gives
// on a start that succeeds are passed on unchanged once it has succeeded.
class WindowingSystemStart
{
public:
    static void watch(const QString &programName);
    static void succeeded();

private:
    WindowingSystemStart() = delete;
};

#endif
