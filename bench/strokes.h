// SPDX-License-Identifier: MIT
#ifndef BENCH_STROKES_H
#define BENCH_STROKES_H

#include <QColor>
#include <QList>
#include <QPoint>

class QImage;
class QPainter;

// The pen samples the cases send, and the pixels they must leave.
namespace Strokes {

// Where strokes go: the canvas rows below the header band, inside the 640 x 480 canvas.
constexpr int left = 10, right = 630, top = 80, bottom = 470;

// Long strokes across the canvas: rows from left to right and back, samples `step` pixels
// apart along a row, each sample `amplitude` pixels above or below the row so that no
// sample lies on the straight line between its neighbours (a lost sample shows), rows
// `rowGap` apart. Consecutive samples always differ. Repeats from the top when the canvas is
// full, until `count` samples.
QList<QPoint> sweep(qsizetype count, int step, int amplitude, int rowGap);

// The two drawing operations of a freehand stroke, as the program draws them: a filled dot
// whose bounding square starts at the touch point, and a round-capped segment.
void drawDot(QPainter &p, QPoint at, int width, const QColor &colour);
void drawSegment(QPainter &p, QPoint from, QPoint to, int width, const QColor &colour);

// Draws a stroke (a dot at the first sample, segments through the others) into `image`.
void drawStroke(QImage &image, const QList<QPoint> &samples, int width, const QColor &colour);

} // namespace Strokes

#endif // BENCH_STROKES_H
