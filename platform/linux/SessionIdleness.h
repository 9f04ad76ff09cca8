#ifndef SESSIONIDLENESS_H
#define SESSIONIDLENESS_H

#include "IdleTimeSource.h"

#include <QElapsedTimer>
#include <QObject>

#include <memory>

class ScreenSaverInhibitService;

// How idle the session is, from the one source of idle time that this session
// offers, and whether anything keeps it awake. The end of a request to stay
// awake counts as activity: after a film the idle time starts from there.
class SessionIdleness : public QObject
{
    Q_OBJECT

public:
    // Made at the first use, lives as long as the application.
    static SessionIdleness *instance();

    bool canTellIdleTime() const { return source != nullptr; }
    qint64 idleMilliseconds();
    // Calls `announced` in the context's thread once the source announces the
    // armed idle time; see IdleTimeSource::announceAfter.
    void announceIdleAfter(qint64 idleMs, QObject *context, const std::function<void()> &announced);
    bool keptAwake();

private:
    explicit SessionIdleness(QObject *parent);
    static std::unique_ptr<IdleTimeSource> chooseSource();
    void markAwakeEnded();

    std::unique_ptr<IdleTimeSource> source;
    ScreenSaverInhibitService *inhibitService;
    QElapsedTimer clock;
    qint64 awakeEndedAt = -1;
    bool wasKeptAwake = false;
};

#endif
