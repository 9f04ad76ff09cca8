#include "ClickThroughFrame.h"

#include "X11WindowManager.h"

#include <QEvent>
#include <QWindow>
#include <QX11Info>

ClickThroughFrame::ClickThroughFrame(QWindow *window)
    : QObject(window)
{
    window->installEventFilter(this);
}

bool ClickThroughFrame::eventFilter(QObject *watched, QEvent *event)
{
    auto *window = qobject_cast<QWindow *>(watched);
    if (window && event->type() == QEvent::Expose && window->isExposed() && QX11Info::display())
        X11WindowManager::letClicksThroughFrame(QX11Info::display(), window->winId());
    return false;
}
