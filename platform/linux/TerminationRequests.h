#ifndef TERMINATIONREQUESTS_H
#define TERMINATIONREQUESTS_H

#include <QObject>

class QSocketNotifier;

// Turns the signals with which a desktop session ends its programs (SIGTERM,
// SIGHUP) into an orderly quit of the event loop, so that what is kept only in
// memory is still stored on the way out. When the X server goes away, Qt ends
// the process with exit() from inside the event loop: the application is then
// told that it is about to quit, as the last thing before the process goes.
class TerminationRequests : public QObject
{
    Q_OBJECT

public:
    static void quitApplicationOnThem();

private:
    explicit TerminationRequests(QObject *parent);
    static void onSignal(int);
    static void onExitWithoutQuit();
    void quit();

    QSocketNotifier *notifier;
};

#endif
