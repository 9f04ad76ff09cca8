#ifndef TERMINATIONREQUESTS_H
#define TERMINATIONREQUESTS_H

#include <QObject>

class QSocketNotifier;

// Turns the signals with which a desktop session ends its programs (SIGTERM,
// SIGHUP) into an orderly quit of the event loop, so that what is kept only in
// memory is still stored on the way out.
class TerminationRequests : public QObject
{
    Q_OBJECT

public:
    static void quitApplicationOnThem();

private:
    explicit TerminationRequests(QObject *parent);
    static void onSignal(int);
    void quit();

    QSocketNotifier *notifier;
};

#endif
