// SPDX-License-Identifier: MIT
#include "touchpoint.h"

#include <QMouseEvent>

#include <limits>

QPoint touchPoint(const QMouseEvent *e)
{
    // One short of the limit, so that rounding cannot overflow either.
    const double limit = std::numeric_limits<int>::max() - 1;
    const QPointF p = e->position();
    return QPoint(qRound(qBound(-limit, p.x(), limit)), qRound(qBound(-limit, p.y(), limit)));
}
