#ifndef QUITRECORDER_H
#define QUITRECORDER_H

#include "ScreenSaverModes.h"

// Stands in for the application's quit() where a test checks that a window asks
// to end the program: the test's own application must go on running.
class QuitRecorder
{
public:
    int quitCalls = 0;

    ScreenSaverModes::Quit quit()
    {
        return [this] { ++quitCalls; };
    }
};

#endif
