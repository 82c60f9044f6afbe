// SPDX-License-Identifier: MIT
#ifndef TOUCHPOINT_H
#define TOUCHPOINT_H

#include <QPoint>

class QMouseEvent;

// The event's position in whole pixels; positions beyond the int range are clamped.
QPoint touchPoint(const QMouseEvent *e);

#endif // TOUCHPOINT_H
