#ifndef CLICKTHROUGHFRAME_H
#define CLICKTHROUGHFRAME_H

#include <QObject>

class QWindow;

// Keeps clicks on an X11 window that takes none (Qt's empty input region) from
// ending in the window manager's frame around it: clicks on the desktop
// background belong to what lies beneath, the window manager's root menu among
// them. Qt sets its region again whenever it shows the window, so this follows
// each showing. Lives as long as the window.
class ClickThroughFrame : public QObject
{
    Q_OBJECT

public:
    explicit ClickThroughFrame(QWindow *window);

    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif
