// SPDX-License-Identifier: MIT
#include "xprobe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <poll.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double nanosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

} // namespace

// The damage reports of one window while a measurement runs.
struct XProbe::Watch
{
    Watch(Display *display, const Target &window)
        : display(display), window(window),
          damage(XDamageCreate(display, window.id, XDamageReportRawRectangles))
    {
        XSync(display, False);
    }
    ~Watch()
    {
        XDamageDestroy(display, damage);
        XSync(display, False);
    }

    Display *display;
    const Target &window;
    Damage damage;
    qint64 pixels = 0; // the area of the damage reported so far
};

XProbe::XProbe()
{
    display = XOpenDisplay(nullptr);
    if (!display)
        return;
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) ||
        !XDamageQueryExtension(display, &damageEventBase, &errorBase)) {
        XCloseDisplay(display);
        display = nullptr;
        return;
    }
    XDamageQueryVersion(display, &major, &minor);
}

XProbe::~XProbe()
{
    if (display)
        XCloseDisplay(display);
}

QString XProbe::serverDescription() const
{
    const Screen *screen = DefaultScreenOfDisplay(display);
    return QStringLiteral("%1 %2, screen %3 x %4 x %5")
        .arg(QString::fromLocal8Bit(ServerVendor(display)))
        .arg(VendorRelease(display))
        .arg(WidthOfScreen(screen))
        .arg(HeightOfScreen(screen))
        .arg(DefaultDepthOfScreen(screen));
}

bool XProbe::inkAt(const Target &window, QPoint at)
{
    XImage *image = XGetImage(display, window.id, at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return (pixel & 0xffffff) == 0; // black
}

bool XProbe::waitForInk(Watch &watch, QPoint at, double seconds)
{
    const Clock::time_point start = Clock::now();
    for (;;) {
        bool touched = false;
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != damageEventBase + XDamageNotify)
                continue;
            const auto *damage = reinterpret_cast<const XDamageNotifyEvent *>(&event);
            const XRectangle &area = damage->area;
            watch.pixels += qint64(area.width) * area.height;
            if (at.x() >= area.x && at.y() >= area.y && at.x() < area.x + area.width &&
                at.y() < area.y + area.height)
                touched = true;
        }
        if (touched && inkAt(watch.window, at))
            return true;
        const double left = seconds - nanosecondsSince(start) * 1e-9;
        if (left <= 0)
            return false;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, int(left * 1000) + 1);
    }
}

void XProbe::press(const Target &window, QPoint at)
{
    const QPoint onScreen = window.origin + at;
    XTestFakeMotionEvent(display, -1, onScreen.x(), onScreen.y(), CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XFlush(display);
}

void XProbe::release()
{
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

Latency XProbe::latency(const Target &window, const QList<QPoint> &samples)
{
    Latency result;
    Watch watch(display, window);
    press(window, samples.first());
    result.complete = waitForInk(watch, samples.first(), 5);
    watch.pixels = 0;
    for (qsizetype i = 1; i < samples.size() && result.complete; ++i) {
        // The program idle, as between two samples of a hand-held pen.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const QPoint at = middle(samples.at(i - 1), samples.at(i));
        if (inkAt(window, at)) {
            result.complete = false; // the canvas was not fresh there
            break;
        }
        const QPoint onScreen = window.origin + samples.at(i);
        const Clock::time_point sent = Clock::now();
        XTestFakeMotionEvent(display, -1, onScreen.x(), onScreen.y(), CurrentTime);
        XFlush(display);
        result.complete = waitForInk(watch, at, 5);
        result.ns << nanosecondsSince(sent);
    }
    result.pixels = watch.pixels;
    release();
    return result;
}

Flood XProbe::flood(const Target &window, const QList<QPoint> &samples)
{
    Flood result;
    Watch watch(display, window);
    press(window, samples.first());
    if (!waitForInk(watch, samples.first(), 5)) {
        release();
        return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    watch.pixels = 0;
    const Clock::time_point start = Clock::now();
    for (qsizetype i = 1; i < samples.size(); ++i) {
        const QPoint onScreen = window.origin + samples.at(i);
        XTestFakeMotionEvent(display, -1, onScreen.x(), onScreen.y(), CurrentTime);
    }
    XFlush(display);
    const qsizetype last = samples.size() - 1;
    result.complete = waitForInk(watch, middle(samples.at(last - 1), samples.at(last)), 60);
    result.ns = nanosecondsSince(start);
    result.pixels = watch.pixels;
    release();
    return result;
}
