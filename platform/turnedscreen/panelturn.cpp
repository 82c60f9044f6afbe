// SPDX-License-Identifier: MIT
#include "panelturn.h"

PanelTurn PanelTurn::under(int rotation, QSize screen)
{
    return PanelTurn(rotation, swapsSides(rotation) ? screen.transposed() : screen);
}

int PanelTurn::turnOf(const QByteArray &value)
{
    // eglfs takes -180 for 180 as well.
    for (int turn : {0, 90, 180, 270, -90, -180}) {
        if (value == QByteArray::number(turn))
            return (turn + 360) % 360;
    }
    return -1;
}

QSize PanelTurn::screenSize() const
{
    return swapsSides(turn) ? panel.transposed() : panel;
}

QSizeF PanelTurn::toScreen(QSizeF onPanel) const
{
    return swapsSides(turn) ? onPanel.transposed() : onPanel;
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
