#ifndef CLOCKJUMPS_H
#define CLOCKJUMPS_H

#include <QObject>

// Tells when the wall clock moved other than by time passing: the machine woke
// from sleep (timers of the monotonic clock stood still meanwhile) or the time
// was set. Pages that show the time then show it again at once instead of at
// their next tick. Nothing is polled: the system notifies.
class ClockJumps : public QObject
{
    Q_OBJECT

public:
    explicit ClockJumps(QObject *parent = nullptr);

signals:
    void jumped();

private slots:
    void sleepChanged(bool goingToSleep);
};

#endif
