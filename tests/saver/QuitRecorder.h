#ifndef QUITRECORDER_H
#define QUITRECORDER_H

#include <QObject>

// Stands in for the application object where a test checks that a window asks
// to end the program: the test's own application must go on running.
class QuitRecorder : public QObject
{
    Q_OBJECT

public:
    int quitCalls = 0;

public slots:
    void quit() { ++quitCalls; }
};

#endif
