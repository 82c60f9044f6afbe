// SPDX-License-Identifier: MIT
#include "tabletmouse.h"

#include <QGuiApplication>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QWindow>

#include <utility>

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
    if (!QGuiApplication::testAttribute(Qt::AA_SynthesizeMouseForUnhandledTabletEvents))
        return false;
    const auto *tablet = static_cast<QTabletEvent *>(event);
    auto *window = static_cast<QWindow *>(receiver);
    Pen *pen = meantFor(window, tablet);
    if (!pen)
        return false;
    // Taken also when it moves no pointer, so that a toolkit which converts as well makes no
    // mouse event of it either.
    event->accept();
    if (!takesPointer(tablet->type(), *pen))
        return true;
    // Through the window system's own path: a mouse event sent straight to the window
    // misses the toolkit's pointer handling, and menus and lists then close again at once.
    qt_handleMouseEvent(window, tablet->position(), tablet->globalPosition(), tablet->buttons(),
                        tablet->button(), type, tablet->modifiers(), int(tablet->timestamp()));
    stroke.follow(window, tablet->position(), tablet->globalPosition(), tablet->buttons());
    return true;
}

// From Qt 6.8 on, while a list or menu is open the toolkit first offers each pen sample to
// it, and when it is taken there the toolkit forgets that the pen pressed or lifted: its next
// press counts as a move, and the pen is dead. So a sample becomes a mouse event only at the
// window the toolkit meant it for, and the mouse path then offers that to the pop-up, as it
// does for a mouse. The tablet plugin names no window, so the toolkit picks the top-level
// window under the pen at its press and keeps it until the release; before 6.8 no sample
// reaches any other window.
TabletMouse::Pen *TabletMouse::meantFor(const QWindow *window, const QTabletEvent *tablet)
{
    const qint64 id = tablet->pointingDevice()->uniqueId().numericId();
    if (tablet->type() == QEvent::TabletPress)
        pens[id].window = QGuiApplication::topLevelAt(tablet->globalPosition().toPoint());
    const auto pen = pens.find(id);
    return pen != pens.end() && pen->window == window ? &*pen : nullptr;
}

// One pointer for all pens, as for one mouse: the pen that last touched the screen has it.
// A pen that touches while another is down first ends that one's stroke where it is, so no
// line joins the two; the other's samples are then no input until it lifts and touches
// again. A pen merely in range reaches no window: the toolkit sends a pen's samples only
// from its press to its release.
bool TabletMouse::takesPointer(QEvent::Type type, Pen &pen)
{
    switch (type) {
    case QEvent::TabletPress:
        if (!pen.down) {
            stroke.end();
            for (Pen &other : pens)
                other.down = false;
            pen.down = true;
        }
        return true;
    case QEvent::TabletRelease:
        return std::exchange(pen, {}).down; // the toolkit forgets its window too
    default:
        return pen.down;
    }
}
