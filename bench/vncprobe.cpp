// SPDX-License-Identifier: MIT
#include "vncprobe.h"

#include "peninput.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QWidget>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

double nanosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

} // namespace

VncProbe::VncProbe(quint16 port)
{
    open = rfb.connectTo(port, 10000) && rfb.refresh(10000);
}

bool VncProbe::inkAt(QPoint at) const
{
    return rfb.screen().pixel(at) == qRgb(0, 0, 0);
}

bool VncProbe::waitForInk(QPoint at, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!inkAt(at)) {
        rfb.requestChange();
        if (!rfb.receive(int(deadline.remainingTime())))
            return false;
    }
    return true;
}

Latency VncProbe::latency(QWidget *window, const QList<QPoint> &samples)
{
    Latency result;
    PenInput pen(window, PenInput::AsDevice);
    const QPoint origin = window->mapToGlobal(QPoint());
    // The client's picture is as old as the last change it asked for.
    if (!rfb.refresh(5000))
        return result;
    pen.press(samples.first());
    result.complete = waitForInk(origin + samples.first(), 5000);
    const qint64 pixelsBefore = rfb.receivedPixels();
    for (qsizetype i = 1; i < samples.size() && result.complete; ++i) {
        // The program idle, as between two samples of a hand-held pen.
        QTest::qWait(2);
        const QPoint at = origin + middle(samples.at(i - 1), samples.at(i));
        if (inkAt(at)) {
            result.complete = false; // the canvas was not fresh there
            break;
        }
        const Clock::time_point sent = Clock::now();
        pen.move(samples.at(i));
        result.complete = waitForInk(at, 5000);
        result.ns << nanosecondsSince(sent);
    }
    result.pixels = rfb.receivedPixels() - pixelsBefore;
    pen.release(samples.last());
    return result;
}

Flood VncProbe::flood(QWidget *window, const QList<QPoint> &samples)
{
    Flood result;
    PenInput pen(window, PenInput::AsDevice);
    const QPoint origin = window->mapToGlobal(QPoint());
    pen.press(samples.first());
    if (rfb.refresh(5000) && waitForInk(origin + samples.first(), 5000)) {
        QTest::qWait(20);
        const qint64 pixelsBefore = rfb.receivedPixels();
        const Clock::time_point start = Clock::now();
        for (qsizetype i = 1; i < samples.size(); ++i)
            pen.move(samples.at(i));
        const qsizetype last = samples.size() - 1;
        result.complete =
            waitForInk(origin + middle(samples.at(last - 1), samples.at(last)), 60000);
        result.ns = nanosecondsSince(start);
        result.pixels = rfb.receivedPixels() - pixelsBefore;
    }
    pen.release(samples.last());
    return result;
}
