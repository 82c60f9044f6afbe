// SPDX-License-Identifier: MIT
#ifndef TABLETMOUSE_H
#define TABLETMOUSE_H

class QEvent;
class QObject;

// Hands a pen sample that no widget took to its window again as the matching mouse
// event, as the handheld's window system did for every program.
namespace TabletMouse {

// Call after the toolkit delivered the event, telling whether it came from the window
// system (delivery clears that mark); true when a mouse event was sent.
bool deliverUnhandled(QObject *receiver, QEvent *event, bool fromWindowSystem);

} // namespace TabletMouse

#endif // TABLETMOUSE_H
