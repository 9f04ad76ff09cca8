#ifndef TESTENVIRONMENT_H
#define TESTENVIRONMENT_H

#include <QString>
#include <QStringList>

#include <functional>

// Where the built programs are, and small helpers for tests that drive them
// inside the desktop session that the test harness starts.
class TestEnvironment
{
public:
    // The build's program directory: zintello, ZINTELLO.scr, html/, Wallpapers/.
    static QString programDir();
    static QString sourceDir();

    // Runs a helper program (xdotool, xprop, ...) and returns its standard output.
    static QString run(const QString &program, const QStringList &arguments, int timeoutMs = 10000);

    // Waits, with the event loop running, until the condition holds; false when it
    // did not within the time.
    static bool waitFor(const std::function<bool()> &condition, int timeoutMs = 30000);

private:
    TestEnvironment() = delete;
};

#endif
