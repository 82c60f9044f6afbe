// SPDX-License-Identifier: MIT
#ifndef PANELTURN_H
#define PANELTURN_H

#include <QByteArray>
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

    // The panel under a screen of the given size, shown turned by `rotation`.
    static PanelTurn under(int rotation, QSize screen);

    // The turn a rotation value asks for, in degrees: 0, 90, 180 or 270 (-90 is 270); -1 for
    // any other value. Both framebuffer platforms' values read alike.
    static int turnOf(const QByteArray &value);

    bool isTurned() const { return turn != 0; }
    QSize panelSize() const { return panel; }
    QSize screenSize() const;
    // A size measured along the panel's edges, measured along the screen's.
    QSizeF toScreen(QSizeF onPanel) const;

    QPointF toScreen(QPointF onPanel) const;
    QPointF toPanel(QPointF onScreen) const;

private:
    static bool swapsSides(int rotation) { return rotation == 90 || rotation == 270; }

    int turn;
    QSize panel;
};

#endif // PANELTURN_H
