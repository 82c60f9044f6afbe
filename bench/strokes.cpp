// SPDX-License-Identifier: MIT
#include "strokes.h"

#include "dot.h"

#include <QImage>
#include <QPainter>
#include <QPen>

namespace Strokes {

QList<QPoint> sweep(qsizetype count, int step, int amplitude, int rowGap)
{
    QList<QPoint> samples;
    samples.reserve(count);
    const int perRow = (right - left) / step + 1;
    int row = 0;
    while (samples.size() < count) {
        int y = top + amplitude + row * rowGap;
        if (y + amplitude > bottom) {
            row = 0;
            y = top + amplitude;
        }
        const bool forward = row % 2 == 0;
        for (int i = 0; i < perRow && samples.size() < count; ++i) {
            const int x = forward ? left + i * step : left + (perRow - 1 - i) * step;
            samples.append(QPoint(x, y + (i % 2 ? amplitude : -amplitude)));
        }
        ++row;
    }
    return samples;
}

void drawDot(QPainter &p, QPoint at, int width, const QColor &colour)
{
    ::drawDot(p, at.x(), at.y(), width, colour);
}

void drawSegment(QPainter &p, QPoint from, QPoint to, int width, const QColor &colour)
{
    QPen pen(colour);
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(from, to);
}

void drawStroke(QImage &image, const QList<QPoint> &samples, int width, const QColor &colour)
{
    if (samples.isEmpty())
        return;
    QPainter p(&image);
    drawDot(p, samples.first(), width, colour);
    for (qsizetype i = 1; i < samples.size(); ++i)
        drawSegment(p, samples.at(i - 1), samples.at(i), width, colour);
}

} // namespace Strokes
