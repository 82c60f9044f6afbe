// SPDX-License-Identifier: MIT
#ifndef PANELTURN_H
#define PANELTURN_H

#include <QPointF>
#include <QSize>

// A panel shown turned: the screen the toolkit and the program see is the panel turned by
// `rotation` degrees, the way the toolkit's eglfs turns its screen for the same value (90: the
// picture's top runs along the panel's left edge). Positions count pixels, as the toolkit's do:
// a whole number is that pixel, so the panel's last column maps onto the screen's last row or
// column, not beyond it.
class PanelTurn
{
public:
    PanelTurn(int rotation, QSize panel) : turn(rotation), panel(panel) {}

    bool isTurned() const { return turn != 0; }
    QSize panelSize() const { return panel; }
    QSize screenSize() const;

    QPointF toScreen(QPointF onPanel) const;
    QPointF toPanel(QPointF onScreen) const;

private:
    int turn;
    QSize panel;
};

#endif // PANELTURN_H
