// SPDX-License-Identifier: MIT
#ifndef TABLETMOUSE_H
#define TABLETMOUSE_H

#include "mousepath.h"

#include <QHash>
#include <QPointer>
#include <QPointingDevice>

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
    bool meantFor(const QWindow *window, const QTabletEvent *tablet);
    bool takesPointer(const QTabletEvent *tablet);

    QHash<qint64, QPointer<QWindow>> press_window;
    QPointer<const QPointingDevice> pen_down;
    MouseStroke stroke;
};

#endif // TABLETMOUSE_H
