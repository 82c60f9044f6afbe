// SPDX-License-Identifier: MIT
#include "peer.h"

#include "strokes.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

PeerCanvas::PeerCanvas() : picture(640, 480, QImage::Format_RGB32)
{
    picture.fill(Qt::white);
    // Growing the window repaints only what is new; the picture does not move.
    setAttribute(Qt::WA_StaticContents);
    setFixedSize(picture.size());
}

void PeerCanvas::clear()
{
    picture.fill(Qt::white);
    update();
}

void PeerCanvas::mousePressEvent(QMouseEvent *e)
{
    last = e->position().toPoint();
    {
        QPainter p(&picture);
        Strokes::drawDot(p, last, strokeWidth, colour);
    }
    updateArea(QRect(last, QSize(strokeWidth + 1, strokeWidth + 1)));
}

void PeerCanvas::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint to = e->position().toPoint();
    {
        QPainter p(&picture);
        Strokes::drawSegment(p, last, to, strokeWidth, colour);
    }
    // The segment's rectangle, grown by the pen's reach beyond its centre line.
    const int reach = strokeWidth / 2 + 2;
    updateArea(QRect(last, to).normalized().adjusted(-reach, -reach, reach, reach));
    last = to;
}

void PeerCanvas::updateArea(const QRect &area)
{
    if (wholeWindow)
        update();
    else
        update(area);
}

void PeerCanvas::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    const QRect dirty = e->rect();
    p.drawImage(dirty, picture, dirty);
}
