// SPDX-License-Identifier: MIT
#include "tabletmouse.h"

#include <QCoreApplication>
#include <QTabletEvent>
#include <QWindow>

// The toolkit's hook for handing a mouse event to its window-system path at once. QtTest's
// public headers declare and use it, so it is part of the toolkit's public binary
// interface (version Qt_6), unlike the window-system interface itself.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

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
    // Through the window system's own path, as a platform plugin would send it: the
    // toolkit then keeps the pointer's position and buttons, moves the pointer to a new
    // place before a press there, and runs its pop-up, grab and under-pointer handling.
    // A mouse event sent straight to the window misses all of that, and menus and lists
    // then close again at once.
    qt_handleMouseEvent(static_cast<QWindow *>(receiver), tablet->position(),
                        tablet->globalPosition(), tablet->buttons(), tablet->button(), type,
                        tablet->modifiers(), int(tablet->timestamp()));
    // Taken now, so that a toolkit which converts as well does not send it twice.
    event->accept();
    return true;
}

} // namespace TabletMouse
