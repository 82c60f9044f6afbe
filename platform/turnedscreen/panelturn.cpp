// SPDX-License-Identifier: MIT
#include "panelturn.h"

QSize PanelTurn::screenSize() const
{
    return turn == 90 || turn == 270 ? panel.transposed() : panel;
}

QPointF PanelTurn::toScreen(QPointF p) const
{
    const qreal lastX = panel.width() - 1;
    const qreal lastY = panel.height() - 1;
    switch (turn) {
    case 90:
        return {lastY - p.y(), p.x()};
    case 180:
        return {lastX - p.x(), lastY - p.y()};
    case 270:
        return {p.y(), lastX - p.x()};
    default:
        return p;
    }
}

QPointF PanelTurn::toPanel(QPointF p) const
{
    const qreal lastX = panel.width() - 1;
    const qreal lastY = panel.height() - 1;
    switch (turn) {
    case 90:
        return {p.y(), lastY - p.x()};
    case 180:
        return {lastX - p.x(), lastY - p.y()};
    case 270:
        return {lastX - p.y(), p.x()};
    default:
        return p;
    }
}
