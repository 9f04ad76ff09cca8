#ifndef SCREENSAVERINHIBITSERVICE_H
#define SCREENSAVERINHIBITSERVICE_H

#include <QDBusContext>
#include <QHash>
#include <QObject>

class QDBusServiceWatcher;

// The session's org.freedesktop.ScreenSaver service, as far as media players and
// browsers use it: Inhibit and UnInhibit. An inhibition ends with UnInhibit or
// when the program that holds it leaves the bus.
class ScreenSaverInhibitService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    // Null when there is no session bus or another program already offers the
    // service (that program then keeps the inhibitions, out of our sight).
    static ScreenSaverInhibitService *offer(QObject *parent);

    bool isInhibited() const { return !holders.isEmpty(); }

public slots:
    Q_SCRIPTABLE uint Inhibit(const QString &applicationName, const QString &reasonForInhibit);
    Q_SCRIPTABLE void UnInhibit(uint cookie);

signals:
    // The last inhibition has ended.
    void released();

private:
    explicit ScreenSaverInhibitService(QObject *parent);
    void forgetHolder(const QString &busName);
    void remove(uint cookie);

    QDBusServiceWatcher *holderWatcher;
    QHash<uint, QString> holders;   // cookie -> unique bus name of the holder
    uint lastCookie = 0;
};

#endif
