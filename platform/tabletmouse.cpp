// SPDX-License-Identifier: MIT
#include "tabletmouse.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QWindow>

namespace TabletMouse {

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

bool deliverUnhandled(QObject *receiver, QEvent *event, bool fromWindowSystem)
{
    const QEvent::Type type = mouseType(event->type());
    // Only what the window system sent to a window: the window then routes the mouse
    // event through the toolkit's own pop-up, grab and under-pointer handling.
    if (type == QEvent::None || !fromWindowSystem || event->isAccepted() ||
        !receiver->isWindowType())
        return false;
    if (!QCoreApplication::testAttribute(Qt::AA_SynthesizeMouseForUnhandledTabletEvents))
        return false;
    const auto *tablet = static_cast<QTabletEvent *>(event);
    QMouseEvent mouse(type, tablet->position(), tablet->position(), tablet->globalPosition(),
                      tablet->button(), tablet->buttons(), tablet->modifiers(),
                      QPointingDevice::primaryPointingDevice());
    mouse.setTimestamp(tablet->timestamp());
    QCoreApplication::sendEvent(receiver, &mouse);
    // Taken now, so that a toolkit which converts as well does not send it twice.
    event->accept();
    return true;
}

} // namespace TabletMouse
