// SPDX-License-Identifier: MIT
#include "mousepath.h"

void MouseStroke::follow(QWindow *window, QPointF local, QPointF global, Qt::MouseButtons buttons)
{
    stroke_window = buttons == Qt::NoButton ? nullptr : window;
    stroke_local = local;
    stroke_global = global;
}

void MouseStroke::end()
{
    if (!stroke_window)
        return;
    QWindow *window = stroke_window;
    stroke_window.clear();
    qt_handleMouseEvent(window, stroke_local, stroke_global, Qt::NoButton, Qt::LeftButton,
                        QEvent::MouseButtonRelease, Qt::NoModifier, 0);
}
