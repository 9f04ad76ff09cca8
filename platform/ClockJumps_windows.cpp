#include "ClockJumps.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace {

// Windows broadcasts both to every top-level window, Qt's hidden ones included.
class ClockMessages : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit ClockMessages(ClockJumps *jumps)
        : QObject(jumps)
        , jumps(jumps)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~ClockMessages() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &, void *message, long *) override
    {
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_TIMECHANGE
            || (msg->message == WM_POWERBROADCAST && msg->wParam == PBT_APMRESUMEAUTOMATIC))
            QMetaObject::invokeMethod(jumps, "sleepChanged", Qt::QueuedConnection, Q_ARG(bool, false));
        return false;
    }

private:
    ClockJumps *jumps;
};

} // namespace

ClockJumps::ClockJumps(QObject *parent)
    : QObject(parent)
{
    new ClockMessages(this);
}

void ClockJumps::sleepChanged(bool goingToSleep)
{
    if (!goingToSleep)
        emit jumped();
}
