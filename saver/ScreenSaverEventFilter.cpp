#include "ScreenSaverEventFilter.h"

#include <QMouseEvent>
#include <QWidget>

namespace {
const QPoint noPositionYet(-1, -1);
// Larger moves between two successive move events end the show; smaller ones
// are a trembling hand or a desk being bumped.
const int movementThreshold = 3;
}

ScreenSaverEventFilter::ScreenSaverEventFilter(QWidget *widget)
    : QObject(widget)
    , lastMousePosition(noPositionYet)
{
    // Moves without a pressed button reach the widget only with tracking on.
    widget->setAttribute(Qt::WA_MouseTracking, true);
    widget->installEventFilter(this);
}

bool ScreenSaverEventFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        closeWindowOf(watched);
        break;
    case QEvent::MouseMove: {
        const QPoint position = static_cast<QMouseEvent *>(event)->pos();
        if (lastMousePosition != noPositionYet
                && (lastMousePosition - position).manhattanLength() > movementThreshold)
            closeWindowOf(watched);
        lastMousePosition = position;
        break;
    }
    default:
        break;
    }
    return false;
}

void ScreenSaverEventFilter::closeWindowOf(QObject *watched)
{
    if (auto *widget = qobject_cast<QWidget *>(watched))
        widget->window()->close();
}
