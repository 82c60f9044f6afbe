// SPDX-License-Identifier: MIT
#ifndef PALMREJECTION_H
#define PALMREJECTION_H

#include <QPointF>
#include <QPointer>
#include <QWindow>

class QEvent;
class QObject;

// On a screen with a pen digitiser and a touch screen under one glass, the hand that rests
// on the glass while the pen draws must leave no ink.
class PalmRejection
{
public:
    // Call before the toolkit delivers the event; true when the event is to be dropped.
    bool drops(QObject *receiver, QEvent *event);

private:
    void penComesNear();
    void noteTouchMouse(QObject *receiver, const QEvent *event);

    bool pen_in_range = false;
    bool pen_pressed = false;
    bool touching = false;
    bool touch_ignored = false;
    // Where the mouse made from a touch is held down, to lift it when the pen comes.
    QPointer<QWindow> touch_mouse_window;
    QPointF touch_mouse_local;
    QPointF touch_mouse_global;
};

#endif // PALMREJECTION_H
