// SPDX-License-Identifier: MIT
#include "dot.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRectF>

// The pixels whose centres lie in the square's circle. Qt's drawEllipse() would reach one
// pixel further right and down, its outline straddling the square's edge. On a picture with
// a device pixel ratio they are the device's pixels, so that a dot is as fine as a line.
void drawDot(QPainter &p, int x, int y, int w, const QColor &colour)
{
    const QPaintDevice *device = p.device();
    const qreal ratio = device->devicePixelRatioF();
    // In floating point: the square's far edge at the int limits would overflow. Past this,
    // every coordinate lies within a dot's width of the picture.
    const QRectF square(x * ratio, y * ratio, w * ratio, w * ratio);
    if (!square.intersects(QRectF(0, 0, device->width(), device->height())))
        return;
    const int left = qRound(square.x());
    const int top = qRound(square.y());
    const int d = qRound(square.width());
    p.save();
    p.scale(1 / ratio, 1 / ratio);
    for (int row = 0; row < d; ++row) {
        // Distances from the centre in half pixels, so that the test stays in integers.
        const int dy = 2 * row + 1 - d;
        int inset = 0;
        while ((2 * inset + 1 - d) * (2 * inset + 1 - d) + dy * dy > d * d)
            ++inset;
        p.fillRect(left + inset, top + row, d - 2 * inset, 1, colour);
    }
    p.restore();
}
