// SPDX-License-Identifier: MIT
#include "dot.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRectF>

// The pixels whose centres lie in the square's circle. Qt's drawEllipse() would reach one
// pixel further right and down, its outline straddling the square's edge.
void drawDot(QPainter &p, int x, int y, int w, const QColor &colour)
{
    // In floating point: the square's far edge at the int limits would overflow. Past this,
    // every coordinate lies within a dot's width of the picture.
    const QPaintDevice *device = p.device();
    if (!QRectF(x, y, w, w).intersects(QRectF(0, 0, device->width(), device->height())))
        return;
    for (int row = 0; row < w; ++row) {
        // Distances from the centre in half pixels, so that the test stays in integers.
        const int dy = 2 * row + 1 - w;
        int inset = 0;
        while ((2 * inset + 1 - w) * (2 * inset + 1 - w) + dy * dy > w * w)
            ++inset;
        p.fillRect(x + inset, y + row, w - 2 * inset, 1, colour);
    }
}
