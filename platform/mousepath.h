// SPDX-License-Identifier: MIT
#ifndef MOUSEPATH_H
#define MOUSEPATH_H

#include <QEvent>
#include <QPointF>
#include <QtGui/qtguiglobal.h>

class QWindow;

// The toolkit's hook for handing a mouse event to its window-system path at once, as a
// platform plugin would: the toolkit then keeps the pointer's position and buttons and runs
// its pop-up, grab and under-pointer handling. QtTest's public headers declare and use it,
// so it is part of the toolkit's public binary interface (version Qt_6), unlike the
// window-system interface itself.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

#endif // MOUSEPATH_H
