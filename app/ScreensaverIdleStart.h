#ifndef SCREENSAVERIDLESTART_H
#define SCREENSAVERIDLESTART_H

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QProcess;
class QString;
class QTimer;

// Starts the screensaver's show when the session has been idle for the time
// the user chose, and not again while that show runs.
class ScreensaverIdleStart : public QObject
{
    Q_OBJECT

public:
    // The stored choice: whole minutes, 0 for off.
    static int storedMinutes();
    static void storeMinutes(int minutes);

    // Starts ZINTELLO.scr from the program directory with one switch, not waiting for it.
    static QProcess *startScreensaver(const QString &saverSwitch, QObject *parent);

    explicit ScreensaverIdleStart(QObject *parent);

    // False where the session cannot tell how long its user has been idle.
    bool isPossible() const { return possible; }

public slots:
    // Looks at once, e.g. after the stored choice changed.
    void look();

private:
    void startShow();
    void showEnded();

    bool possible;
    QTimer *timer;
    QPointer<QProcess> show;
    // A show that ends counts as activity, also when it ended without input.
    QElapsedTimer sinceShowEnded;
};

#endif
