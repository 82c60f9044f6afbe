// SPDX-License-Identifier: MIT
#ifndef BENCH_VNCPROBE_H
#define BENCH_VNCPROBE_H

#include "probe.h"

#include <rfbclient.h>

class QWidget;

// Pen samples handed to the toolkit as a device's, and their ink watched in the screen that
// Qt's software compositor makes of the windows (the one of linuxfb and eglfs too), as the
// VNC server sends it. This process is the server and its client: the client waits in the
// event loop in which the server, the compositor and the program run.
class VncProbe
{
public:
    explicit VncProbe(quint16 port);

    bool isOpen() const { return open; }
    // As XProbe's, on the window's samples.
    Latency latency(QWidget *window, const QList<QPoint> &samples);
    Flood flood(QWidget *window, const QList<QPoint> &samples);

private:
    bool inkAt(QPoint at) const;
    bool waitForInk(QPoint at, int ms);

    RfbClient rfb;
    bool open = false;
};

#endif // BENCH_VNCPROBE_H
