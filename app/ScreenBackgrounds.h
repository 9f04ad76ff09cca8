#ifndef SCREENBACKGROUNDS_H
#define SCREENBACKGROUNDS_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QScreen;
class ZintelloDesktopBackgroundWidget;

// The desktop background of every screen: one page each, all made alike by the
// settings window. Follows the screens while the program runs: a screen that
// comes gets its background, one that goes takes its background with it, one
// that moves or changes its size takes its background along. The screens that
// did not change keep theirs as they are.
class ScreenBackgrounds : public QObject
{
    Q_OBJECT

public:
    using Maker = std::function<ZintelloDesktopBackgroundWidget *(QScreen *)>;

    // primary: the primary screen's background, already made; make: makes and
    // shows the background of a screen.
    ScreenBackgrounds(ZintelloDesktopBackgroundWidget *primary, Maker make, QObject *parent);
    // Takes every background with it.
    ~ScreenBackgrounds() override;

    QList<ZintelloDesktopBackgroundWidget *> all() const;
    ZintelloDesktopBackgroundWidget *onPrimaryScreen() const;

signals:
    // Another screen became the primary one.
    void primaryScreenChanged();
    // Screens came, went, changed their size or place, or another became the
    // primary one; once for changes that come together (a dock, a new layout).
    void screensChanged();

private:
    void addScreen(QScreen *screen);
    void removeScreen(QScreen *screen);
    void followScreen(QScreen *screen);

    const Maker make;
    QHash<QScreen *, QPointer<ZintelloDesktopBackgroundWidget>> backgrounds;
    QTimer settle;
};

#endif
