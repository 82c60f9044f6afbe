// SPDX-License-Identifier: MIT
#ifndef DOT_H
#define DOT_H

class QColor;
class QPainter;

// The dot a tap leaves: filled, round, covering the w x w square whose top-left corner is
// (x, y), at the resolution of the painter's device.
void drawDot(QPainter &p, int x, int y, int w, const QColor &colour);

#endif // DOT_H
