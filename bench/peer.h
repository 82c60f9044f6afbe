// SPDX-License-Identifier: MIT
#ifndef BENCH_PEER_H
#define BENCH_PEER_H

#include <QColor>
#include <QImage>
#include <QWidget>

// The familiar design the program is measured against: a freehand widget that draws each
// piece of stroke into an image and asks for a repaint of that piece's rectangle only,
// painting just the rectangle it is asked for. It draws exactly what the program draws (the
// same dot and segment at the same width and colour) so that only the way to the screen
// differs. Told to repaint its whole window on every sample, it does the work the program's
// design prescribes, the plain way: the full-copy peer.
class PeerCanvas : public QWidget
{
public:
    PeerCanvas();

    void setStrokeWidth(int width) { strokeWidth = width; }
    void setWholeWindow(bool whole) { wholeWindow = whole; }
    void clear();
    const QImage &image() const { return picture; }

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void updateArea(const QRect &area);

    QImage picture;
    QPoint last;
    int strokeWidth = 1;
    bool wholeWindow = false;
    QColor colour = Qt::black;
};

#endif // BENCH_PEER_H
