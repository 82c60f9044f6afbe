// SPDX-License-Identifier: MIT
#ifndef MOUSEPATH_H
#define MOUSEPATH_H

#include <QEvent>
#include <QPointF>
#include <QPointer>
#include <QWindow>
#include <QtGui/qtguiglobal.h>

// The toolkit's hook for handing a mouse event to its window-system path at once, as a
// platform plugin would: the toolkit then keeps the pointer's position and buttons and runs
// its pop-up, grab and under-pointer handling. QtTest's public headers declare and use it,
// so it is part of the toolkit's public binary interface (version Qt_6), unlike the
// window-system interface itself.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

// A mouse stroke the platform layer makes from other input, followed so that it can be
// ended where it is when that input stops counting.
class MouseStroke
{
public:
    // Notes a mouse event sent; one with no button held ends the stroke.
    void follow(QWindow *window, QPointF local, QPointF global, Qt::MouseButtons buttons);
    // Lifts the mouse where the stroke is, if one is under way.
    void end();

private:
    QPointer<QWindow> stroke_window;
    QPointF stroke_local;
    QPointF stroke_global;
};

#endif // MOUSEPATH_H
