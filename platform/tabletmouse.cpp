// SPDX-License-Identifier: MIT
#include "tabletmouse.h"

#include <QCoreApplication>
#include <QTabletEvent>
#include <QWindow>

namespace {

QEvent::Type mouseType(QEvent::Type tabletType)
{
    switch (tabletType) {
    case QEvent::TabletPress:
        return QEvent::MouseButtonPress;
    case QEvent::TabletMove:
        return QEvent::MouseMove;
    case QEvent::TabletRelease:
        return QEvent::MouseButtonRelease;
    default:
        return QEvent::None;
    }
}

} // namespace

bool TabletMouse::deliverUnhandled(QObject *receiver, QEvent *event, bool fromWindowSystem)
{
    const QEvent::Type type = mouseType(event->type());
    if (type == QEvent::None || !fromWindowSystem || event->isAccepted() ||
        !receiver->isWindowType())
        return false;
    if (!QCoreApplication::testAttribute(Qt::AA_SynthesizeMouseForUnhandledTabletEvents))
        return false;
    // Taken in any case, so that a toolkit which converts as well does not send it twice.
    event->accept();
    const auto *tablet = static_cast<QTabletEvent *>(event);
    if (!takesPointer(tablet))
        return true;
    // Through the window system's own path: a mouse event sent straight to the window
    // misses the toolkit's pointer handling, and menus and lists then close again at once.
    auto *window = static_cast<QWindow *>(receiver);
    qt_handleMouseEvent(window, tablet->position(), tablet->globalPosition(), tablet->buttons(),
                        tablet->button(), type, tablet->modifiers(), int(tablet->timestamp()));
    stroke.follow(window, tablet->position(), tablet->globalPosition(), tablet->buttons());
    return true;
}

// One pointer for all pens, as for one mouse: the pen that last touched the screen has it.
// A pen that touches while another is down first ends that one's stroke where it is, so no
// line joins the two; the other's samples are then no input until it lifts and touches
// again. A pen merely in range moves the pointer only while no pen is down.
bool TabletMouse::takesPointer(const QTabletEvent *tablet)
{
    const QPointingDevice *pen = tablet->pointingDevice();
    switch (tablet->type()) {
    case QEvent::TabletPress:
        if (pen_down != pen)
            stroke.end();
        pen_down = pen;
        return true;
    case QEvent::TabletRelease:
        if (pen != pen_down)
            return false;
        pen_down.clear();
        return true;
    default:
        return pen_down ? pen == pen_down : tablet->buttons() == Qt::NoButton;
    }
}
