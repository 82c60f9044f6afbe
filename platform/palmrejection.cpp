// SPDX-License-Identifier: MIT
#include "palmrejection.h"

#include <QMouseEvent>
#include <QPointingDevice>

// The one rule: a touch sequence (from its first finger down to its last finger up) is not
// input from the moment it meets the pen, in range of the screen or pressed on it, to its
// end. A palm that lands near the pen, or is resting when the pen comes, is ignored until
// the hand lifts; a finger that touches while the pen is away draws.
bool PalmRejection::drops(QObject *receiver, QEvent *event)
{
    switch (event->type()) {
    case QEvent::TabletEnterProximity:
        pen_in_range = true;
        penComesNear();
        return false;
    case QEvent::TabletLeaveProximity:
        pen_in_range = false;
        return false;
    case QEvent::TabletPress:
        // A pen that reports no proximity is near from its press to its release.
        pen_pressed = true;
        penComesNear();
        return false;
    case QEvent::TabletRelease:
        pen_pressed = false;
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        noteTouchMouse(receiver, event);
        return false;
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        break;
    default:
        return false;
    }
    // A window passes the touches it gets on to its widgets: its own turn decides.
    if (!receiver->isWindowType())
        return false;
    if (event->type() == QEvent::TouchBegin)
        touching = true;
    if (pen_in_range || pen_pressed)
        touch_ignored = true;
    const bool drop = touch_ignored;
    if (event->type() == QEvent::TouchEnd || event->type() == QEvent::TouchCancel)
        touching = touch_ignored = false;
    // Taken, so that the toolkit makes no mouse event of it either.
    if (drop)
        event->setAccepted(true);
    return drop;
}

void PalmRejection::penComesNear()
{
    touch_ignored = touching;
    // A finger stroke under way ends here, so that no segment joins it to the pen's.
    touch_mouse.end();
}

void PalmRejection::noteTouchMouse(QObject *receiver, const QEvent *event)
{
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    if (!receiver->isWindowType() || !mouse->pointingDevice() ||
        mouse->pointingDevice()->type() != QInputDevice::DeviceType::TouchScreen)
        return;
    touch_mouse.follow(static_cast<QWindow *>(receiver), mouse->position(), mouse->globalPosition(),
                       mouse->buttons());
}
