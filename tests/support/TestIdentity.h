#ifndef TESTIDENTITY_H
#define TESTIDENTITY_H

// Gives the test's own process the identity of one of the programs, so that
// QSettings() in the test opens that program's store, as the program would.
class TestIdentity
{
public:
    static void desktopProgram();
    static void screensaver();

private:
    TestIdentity() = delete;
};

#endif
