// SPDX-License-Identifier: MIT
#ifndef BENCH_XPROBE_H
#define BENCH_XPROBE_H

#include "probe.h"

#include <QString>

// Pen samples sent through the X server as a pointer device's (XTest), and their pixels
// watched on the screen (Damage, then the pixel itself). It has its own connection to the
// server and is meant to run on a thread of its own while the program's event loop runs.
class XProbe
{
public:
    XProbe();
    ~XProbe();
    XProbe(const XProbe &) = delete;
    XProbe &operator=(const XProbe &) = delete;

    bool isOpen() const { return display != nullptr; }
    QString serverDescription() const;

    struct Target
    {
        unsigned long id;
        QPoint origin; // its top-left corner on the screen
    };

    // Presses at the first sample, then sends the others one at a time, each when the
    // previous one is on the screen and the program has been idle for a moment, and times
    // each from its sending to its pixels on the screen.
    Latency latency(const Target &window, const QList<QPoint> &samples);
    // Presses at the first sample, then sends all the others at once, and times them until
    // the last one is on the screen.
    Flood flood(const Target &window, const QList<QPoint> &samples);

private:
    struct Watch;
    bool inkAt(const Target &window, QPoint at);
    bool waitForInk(Watch &watch, QPoint at, double seconds);
    void press(const Target &window, QPoint at);
    void release();

    struct _XDisplay *display = nullptr;
    int damageEventBase = 0;
};

#endif // BENCH_XPROBE_H
