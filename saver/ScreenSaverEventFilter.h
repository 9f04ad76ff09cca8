#ifndef SCREENSAVEREVENTFILTER_H
#define SCREENSAVEREVENTFILTER_H

#include <QObject>
#include <QPoint>

class QWidget;

// Watches one widget and closes its top-level window at the first key press,
// mouse button press, or mouse move of more than 3 pixels from the previous
// move it saw. It never swallows an event: the widget still gets everything.
class ScreenSaverEventFilter : public QObject
{
    Q_OBJECT

public:
    // The watched widget is also the filter's parent.
    explicit ScreenSaverEventFilter(QWidget *widget);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void closeWindowOf(QObject *watched);

    // (-1, -1): no move seen yet, so the first move is only recorded.
    QPoint lastMousePosition;
};

#endif
