// SPDX-License-Identifier: MIT
#include "peninput.h"

#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

PenInput::PenInput(QWidget *topLevel, Way way)
    : window(way == ToWindow ? topLevel->windowHandle() : nullptr),
      origin(topLevel->mapToGlobal(QPoint())), way(way)
{
    Q_ASSERT(window || way == AsDevice);
}

void PenInput::press(QPoint at)
{
    // Far enough from the last press that no double click is made of it.
    timestamp += 1000;
    send(QEvent::MouseButtonPress, at, false);
}

void PenInput::move(QPoint to)
{
    send(QEvent::MouseMove, to, false);
}

void PenInput::release(QPoint at)
{
    send(QEvent::MouseButtonRelease, at, false);
}

void PenInput::queueMove(QPoint to)
{
    send(QEvent::MouseMove, to, true);
}

void PenInput::send(QEvent::Type type, QPoint at, bool queued)
{
    ++timestamp;
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const QPointF global(at + origin);
    const QPointF local = way == AsDevice ? global : QPointF(at);
    if (queued || way == AsDevice) {
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, timestamp, local, global, buttons, button, type);
    } else {
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window, timestamp, local, global, buttons, button, type);
    }
}
