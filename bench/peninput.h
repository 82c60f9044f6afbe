// SPDX-License-Identifier: MIT
#ifndef BENCH_PENINPUT_H
#define BENCH_PENINPUT_H

#include <QPoint>
#include <QPointer>
#include <QWindow>

class QWidget;

// Pen samples for a top-level widget, handed to the toolkit the way its platform plugin
// hands over the samples it reads from the device: through the window-system interface, so
// that they take the toolkit's whole way to the widget (the application's mouse handling,
// the window, the pen grab, the widget's handler).
class PenInput
{
public:
    // To the window, or as Qt's evdev and tslib handlers hand a device's samples: queued, with
    // the position on the screen and no window, which the toolkit then finds.
    enum Way { ToWindow, AsDevice };
    explicit PenInput(QWidget *topLevel, Way way = ToWindow);

    // Delivered at once, as a plugin delivers a sample it has just read.
    void press(QPoint at);
    void move(QPoint to);
    void release(QPoint at);
    // Queued behind the samples already waiting, as a plugin queues samples that arrive
    // faster than the program takes them; the event loop delivers them.
    void queueMove(QPoint to);

private:
    void send(QEvent::Type type, QPoint at, bool queued);

    QPointer<QWindow> window;
    QPoint origin; // the window's top-left corner on the screen
    Way way;
    ulong timestamp = 0;
};

#endif // BENCH_PENINPUT_H
