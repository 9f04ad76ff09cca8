#ifndef ABOVEDESKTOPWINDOWS_H
#define ABOVEDESKTOPWINDOWS_H

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QVector>

class QWindow;

// Keeps the desktop background above the desktop window of a desktop program
// (caja, nemo, pcmanfm): window managers such as openbox raise that window when
// it is clicked, and it would hide the page until the next start. Both stay in
// the desktop layer, below every application.
class AboveDesktopWindows : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // Lives as long as the window.
    explicit AboveDesktopWindows(QWindow *window);
    ~AboveDesktopWindows() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

private:
    static QVector<unsigned long> ownWindows();

    QWindow *window;
    unsigned int stackingAtom;
};

#endif
