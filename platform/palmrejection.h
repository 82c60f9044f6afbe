// SPDX-License-Identifier: MIT
#ifndef PALMREJECTION_H
#define PALMREJECTION_H

#include "mousepath.h"

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
    // The mouse made from a touch, to lift it when the pen comes.
    MouseStroke touch_mouse;
};

#endif // PALMREJECTION_H
