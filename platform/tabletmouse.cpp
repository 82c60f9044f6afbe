// SPDX-License-Identifier: MIT
#include "tabletmouse.h"

#include "mousepath.h"

#include <QCoreApplication>
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
    if (type == QEvent::None || !fromWindowSystem || event->isAccepted() ||
        !receiver->isWindowType())
        return false;
    if (!QCoreApplication::testAttribute(Qt::AA_SynthesizeMouseForUnhandledTabletEvents))
        return false;
    const auto *tablet = static_cast<QTabletEvent *>(event);
    // Through the window system's own path: a mouse event sent straight to the window
    // misses the toolkit's pointer handling, and menus and lists then close again at once.
    qt_handleMouseEvent(static_cast<QWindow *>(receiver), tablet->position(),
                        tablet->globalPosition(), tablet->buttons(), tablet->button(), type,
                        tablet->modifiers(), int(tablet->timestamp()));
    // Taken now, so that a toolkit which converts as well does not send it twice.
    event->accept();
    return true;
}

} // namespace TabletMouse
