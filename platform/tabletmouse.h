// SPDX-License-Identifier: MIT
#ifndef TABLETMOUSE_H
#define TABLETMOUSE_H

#include "mousepath.h"

#include <QHash>
#include <QPointer>

class QEvent;
class QObject;
class QTabletEvent;

// Hands a pen sample that no widget took to its window again as the matching mouse
// event, as the handheld's window system did for every program.
class TabletMouse
{
public:
    // Call after the toolkit delivered the event, telling whether it came from the window
    // system (delivery clears that mark); true when the sample was dealt with.
    bool deliverUnhandled(QObject *receiver, QEvent *event, bool fromWindowSystem);

private:
    // A pen between its press and its release: the window the toolkit sends its samples to,
    // and whether it has the pointer (a pen that another one touched after counts as lifted).
    struct Pen
    {
        QPointer<QWindow> window;
        bool down = false;
    };

    Pen *meantFor(const QWindow *window, const QTabletEvent *tablet);
    bool takesPointer(QEvent::Type type, Pen &pen);

    // Known by the number the toolkit keeps each pen's buttons and window under: the tip and
    // eraser ends of one digitiser's pen are two devices but one pen.
    QHash<qint64, Pen> pens;
    MouseStroke stroke;
};

#endif // TABLETMOUSE_H
